// Our stand-in for the Win32 code-page conversion functions, for code pages 0,
// 936 and 65001. The ANSI code page (0) is 936 on this system, as on a
// Simplified Chinese Windows. Only flags 0 is supported: malformed input is
// replaced, never rejected.
//
// Reading malformed UTF-8 gives one U+FFFD per maximal subpart (the longest
// start of a well-formed sequence, or a single byte that starts none), the
// Unicode-recommended practice that Windows follows. Reading 936, a byte or
// pair without a character gives one U+FFFD; an ASCII byte after a lead byte
// is then read again on its own, so that a broken pair never swallows it.
// Writing, a character the target lacks becomes the default character, one
// per character (a surrogate pair is one character); writing UTF-8, a lone
// surrogate becomes U+FFFD.
#include "text/platform/codepage_platform.h"

#include <cstddef>
#include <cstring>

#include "text/platform/cp936_tables.h"
#include "text/platform/utf8_sequence.h"

namespace kelvorat::platform {
namespace {

constexpr char16_t kReplacement = 0xFFFD;

enum class Coding { kCp936, kUtf8, kUnknown };

Coding CodingOf(unsigned codePage) {
  switch (codePage) {
    case 0:  // the ANSI code page: 936 here
    case 936:
      return Coding::kCp936;
    case 65001:
      return Coding::kUtf8;
    default:
      return Coding::kUnknown;
  }
}

// Output of a conversion. CountSink only counts (the size query); WriteSink
// writes and notes when the destination is too small, writing nothing past it.
template <typename Unit>
class CountSink {
 public:
  void Put(Unit) { ++count_; }
  [[nodiscard]] int Result() const { return static_cast<int>(count_); }

 private:
  std::size_t count_ = 0;
};

template <typename Unit>
class WriteSink {
 public:
  WriteSink(Unit* destination, std::size_t capacity)
      : at_(destination), end_(destination + capacity), begin_(destination) {}
  void Put(Unit unit) {
    if (at_ == end_) {
      overflow_ = true;
      return;
    }
    *at_++ = unit;
  }
  // The count written, or 0 when the destination was too small.
  [[nodiscard]] int Result() const { return overflow_ ? 0 : static_cast<int>(at_ - begin_); }

 private:
  Unit* at_;
  Unit* end_;
  Unit* begin_;
  bool overflow_ = false;
};

template <typename Sink>
void ReadCp936(const unsigned char* s, std::size_t n, Sink& out) {
  const Cp936Tables& table = Cp936();
  for (std::size_t i = 0; i < n;) {
    const unsigned char byte = s[i];
    if (byte < 0x80) {
      out.Put(byte);
      ++i;
    } else if (byte >= 0x81 && byte <= 0xFE && i + 1 < n) {
      const unsigned char second = s[i + 1];
      const char16_t unit = table.pair[byte - 0x81][second];
      out.Put(unit != 0 ? unit : kReplacement);
      i += unit != 0 || second >= 0x80 ? 2 : 1;
    } else {
      out.Put(table.single[byte] != 0 ? table.single[byte] : kReplacement);
      ++i;
    }
  }
}

template <typename Sink>
void ReadUtf8(const unsigned char* s, std::size_t n, Sink& out) {
  for (std::size_t i = 0; i < n;) {
    const unsigned char byte = s[i];
    if (byte < 0x80) {
      out.Put(byte);
      ++i;
      continue;
    }
    const Utf8Sequence sequence = ReadUtf8Sequence(s, n, i);
    i = sequence.next;
    if (!sequence.valid) {
      out.Put(kReplacement);
    } else if (const char32_t code = sequence.code; code >= 0x10000) {
      out.Put(static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10)));
      out.Put(static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF)));
    } else {
      out.Put(static_cast<char16_t>(code));
    }
  }
}

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// The number of units of the character at s[i]: 2 for a surrogate pair.
std::size_t UnitsAt(const char16_t* s, std::size_t n, std::size_t i) {
  return IsHighSurrogate(s[i]) && i + 1 < n && IsLowSurrogate(s[i + 1]) ? 2 : 1;
}

template <typename Sink>
void WriteUtf8(const char16_t* s, std::size_t n, Sink& out) {
  for (std::size_t i = 0; i < n;) {
    char32_t code = s[i];
    const std::size_t units = UnitsAt(s, n, i);
    if (units == 2) {
      code = 0x10000 + ((code - 0xD800) << 10) + (s[i + 1] - 0xDC00);
    } else if (IsHighSurrogate(s[i]) || IsLowSurrogate(s[i])) {
      code = kReplacement;
    }
    i += units;
    if (code < 0x80) {
      out.Put(static_cast<char>(code));
    } else if (code < 0x800) {
      out.Put(static_cast<char>(0xC0 | code >> 6));
      out.Put(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
      out.Put(static_cast<char>(0xE0 | code >> 12));
      out.Put(static_cast<char>(0x80 | (code >> 6 & 0x3F)));
      out.Put(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
      out.Put(static_cast<char>(0xF0 | code >> 18));
      out.Put(static_cast<char>(0x80 | (code >> 12 & 0x3F)));
      out.Put(static_cast<char>(0x80 | (code >> 6 & 0x3F)));
      out.Put(static_cast<char>(0x80 | (code & 0x3F)));
    }
  }
}

// Returns whether any character was replaced by the default character.
template <typename Sink>
bool WriteCp936(const char16_t* s, std::size_t n, const char* defaultChar, Sink& out) {
  const Cp936Tables& table = Cp936();
  // A given default character is one byte, or two when it starts with a lead byte.
  char fallback[2] = {'?', 0};
  std::size_t fallbackBytes = 1;
  if (defaultChar != nullptr) {
    fallback[0] = defaultChar[0];
    const auto lead = static_cast<unsigned char>(defaultChar[0]);
    if (lead >= 0x81 && lead <= 0xFE && defaultChar[1] != 0) {
      fallback[1] = defaultChar[1];
      fallbackBytes = 2;
    }
  }
  bool usedDefault = false;
  for (std::size_t i = 0; i < n;) {
    const char16_t unit = s[i];
    const std::uint16_t code = table.encode[unit];
    if (code != 0 || unit == 0) {
      if (code >= 0x100) out.Put(static_cast<char>(code >> 8));
      out.Put(static_cast<char>(code & 0xFF));
      ++i;
      continue;
    }
    usedDefault = true;
    for (std::size_t k = 0; k < fallbackBytes; ++k) out.Put(fallback[k]);
    i += UnitsAt(s, n, i);
  }
  return usedDefault;
}

}  // namespace

int MultiByteToWideChar(unsigned codePage, std::uint32_t flags, const char* source,
                        int sourceLength, char16_t* destination, int destinationUnits) {
  const Coding coding = CodingOf(codePage);
  if (coding == Coding::kUnknown || flags != 0 || source == nullptr || sourceLength == 0 ||
      sourceLength < -1 || destinationUnits < 0 || (destination == nullptr && destinationUnits != 0)) {
    return 0;
  }
  const std::size_t length =
      sourceLength == -1 ? std::strlen(source) + 1 : static_cast<std::size_t>(sourceLength);
  const auto* bytes = reinterpret_cast<const unsigned char*>(source);
  auto read = [&](auto&& out) {
    if (coding == Coding::kUtf8) {
      ReadUtf8(bytes, length, out);
    } else {
      ReadCp936(bytes, length, out);
    }
    return out.Result();
  };
  if (destinationUnits == 0) return read(CountSink<char16_t>());
  return read(WriteSink<char16_t>(destination, static_cast<std::size_t>(destinationUnits)));
}

int WideCharToMultiByte(unsigned codePage, std::uint32_t flags, const char16_t* source,
                        int sourceLength, char* destination, int destinationBytes,
                        const char* defaultChar, int* usedDefaultChar) {
  const Coding coding = CodingOf(codePage);
  if (coding == Coding::kUnknown || flags != 0 || source == nullptr || sourceLength == 0 ||
      sourceLength < -1 || destinationBytes < 0 || (destination == nullptr && destinationBytes != 0)) {
    return 0;
  }
  // UTF-8 has every character: a default character makes no sense there.
  if (coding == Coding::kUtf8 && (defaultChar != nullptr || usedDefaultChar != nullptr)) return 0;
  std::size_t length = static_cast<std::size_t>(sourceLength);
  if (sourceLength == -1) {
    length = 0;
    while (source[length] != 0) ++length;
    ++length;  // the terminator is converted and counted too
  }
  auto write = [&](auto&& out) {
    if (coding == Coding::kUtf8) {
      WriteUtf8(source, length, out);
    } else {
      const bool usedDefault = WriteCp936(source, length, defaultChar, out);
      if (usedDefaultChar != nullptr) *usedDefaultChar = usedDefault ? 1 : 0;
    }
    return out.Result();
  };
  if (destinationBytes == 0) return write(CountSink<char>());
  return write(WriteSink<char>(destination, static_cast<std::size_t>(destinationBytes)));
}

}  // namespace kelvorat::platform
