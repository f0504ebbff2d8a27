// UTF-8 and code page 936 converted straight over the tables, one pass with no
// wide text in between, ASCII runs copied eight bytes at a time. Malformed
// input is replaced exactly as the stand-in conversion functions do it
// (codepage_platform.cpp): a maximal subpart of bad UTF-8 reads as U+FFFD, a
// character 936 lacks (U+FFFD included, and everything above U+FFFF) writes
// as one '?', and a byte or pair of 936 without a character reads as U+FFFD.
#include "text/platform/utf8_cp936.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <memory>

#include "text/platform/cp936_tables.h"
#include "text/platform/utf8_sequence.h"

namespace kelvorat::platform {
namespace {

constexpr char16_t kReplacement = 0xFFFD;
constexpr std::uint64_t kHighBits = 0x8080808080808080;

// Copies the ASCII bytes from in to out, eight at a time while eight remain
// before end, and returns how many it copied; stops at the first high byte.
// out must have room for as many bytes as are read.
std::size_t CopyAscii(const unsigned char* in, const unsigned char* end, unsigned char* out) {
  const unsigned char* at = in;
  for (; end - at >= 8; at += 8, out += 8) {
    std::uint64_t word;
    std::memcpy(&word, at, 8);
    if ((word & kHighBits) != 0) break;
    std::memcpy(out, &word, 8);
  }
  for (; at < end && *at < 0x80; ++at) *out++ = *at;
  return static_cast<std::size_t>(at - in);
}

// Writes one BMP character in code page 936, or '?' when 936 lacks it.
unsigned char* PutCp936(const Cp936Tables& table, char32_t code, unsigned char* out) {
  const std::uint16_t form = table.encode[code];
  if (form == 0) {
    *out++ = '?';
  } else {
    if (form >= 0x100) *out++ = static_cast<unsigned char>(form >> 8);
    *out++ = static_cast<unsigned char>(form);
  }
  return out;
}

// Writes one UTF-16 unit in UTF-8; a surrogate alone is no character and
// becomes U+FFFD.
unsigned char* PutUtf8(char16_t unit, unsigned char* out) {
  char32_t code = unit;
  if (code >= 0xD800 && code <= 0xDFFF) code = kReplacement;
  if (code < 0x80) {
    *out++ = static_cast<unsigned char>(code);
  } else if (code < 0x800) {
    *out++ = static_cast<unsigned char>(0xC0 | code >> 6);
    *out++ = static_cast<unsigned char>(0x80 | (code & 0x3F));
  } else {
    *out++ = static_cast<unsigned char>(0xE0 | code >> 12);
    *out++ = static_cast<unsigned char>(0x80 | (code >> 6 & 0x3F));
    *out++ = static_cast<unsigned char>(0x80 | (code & 0x3F));
  }
  return out;
}

// The UTF-8 form of each pair's character (U+FFFD where the pair has none):
// its bytes from the lowest up, to be written with one four-byte store, and
// its length in the top byte. Taken once from the pair table.
struct PairUtf8Forms {
  std::uint32_t form[0xFE - 0x81 + 1][0x100];
};

const PairUtf8Forms& PairUtf8() {
  static const std::unique_ptr<PairUtf8Forms> forms = [] {
    const Cp936Tables& table = Cp936();
    auto built = std::make_unique<PairUtf8Forms>();
    for (std::size_t lead = 0; lead < std::size(built->form); ++lead) {
      for (std::size_t second = 0; second < 0x100; ++second) {
        const char16_t unit = table.pair[lead][second];
        unsigned char bytes[4] = {};
        const auto length = static_cast<std::uint32_t>(PutUtf8(unit != 0 ? unit : kReplacement, bytes) - bytes);
        built->form[lead][second] =
            static_cast<std::uint32_t>(bytes[0] | bytes[1] << 8 | bytes[2] << 16) | length << 24;
      }
    }
    return built;
  }();
  return *forms;
}

// Reads the UTF-8 sequence that starts with the high byte s[i] and writes it in
// 936; returns the index after what it read. A broken sequence ends at the
// byte that broke it, which is read again on its own.
std::size_t Utf8SequenceToCp936(const Cp936Tables& table, const unsigned char* s, std::size_t n,
                                std::size_t i, unsigned char*& out) {
  const Utf8Sequence sequence = ReadUtf8Sequence(s, n, i);
  if (!sequence.valid) {
    out = PutCp936(table, kReplacement, out);
  } else if (sequence.code >= 0x10000) {
    *out++ = '?';  // a surrogate pair in wide text: one character 936 lacks
  } else {
    out = PutCp936(table, sequence.code, out);
  }
  return sequence.next;
}

}  // namespace

Text Utf8ToCp936(std::string_view utf8) {
  const Cp936Tables& table = Cp936();
  const auto* s = reinterpret_cast<const unsigned char*>(utf8.data());
  const std::size_t n = utf8.size();
  // Every sequence writes at most as many bytes as it reads, save a
  // replacement read from one byte if 936 wrote U+FFFD in two.
  Text text(table.encode[kReplacement] >= 0x100 ? 2 * n : n, '\0');
  auto* const begin = reinterpret_cast<unsigned char*>(text.data());
  unsigned char* out = begin;
  for (std::size_t i = 0; i < n;) {
    const unsigned char byte = s[i];
    if (byte < 0x80) {
      const std::size_t run = CopyAscii(s + i, s + n, out);
      i += run;
      out += run;
      continue;
    }
    // Chinese text is mostly well-formed three-byte sequences: read those at once.
    if (byte >= 0xE1 && byte <= 0xEF && byte != 0xED && i + 2 < n) {
      const unsigned char second = s[i + 1];
      const unsigned char third = s[i + 2];
      if ((second & 0xC0) == 0x80 && (third & 0xC0) == 0x80) {
        out = PutCp936(table, (byte & 0x0Fu) << 12 | (second & 0x3Fu) << 6 | (third & 0x3Fu), out);
        i += 3;
        continue;
      }
    }
    i = Utf8SequenceToCp936(table, s, n, i, out);
  }
  text.resize(static_cast<std::size_t>(out - begin));
  return text;
}

Text Cp936ToUtf8(std::string_view cp936) {
  const Cp936Tables& table = Cp936();
  const PairUtf8Forms& utf8Forms = PairUtf8();
  const auto* s = reinterpret_cast<const unsigned char*>(cp936.data());
  const std::size_t n = cp936.size();
  // Room for Chinese text (two bytes become three); more is made as needed,
  // up to three bytes for each byte read.
  Text text(n + n / 2 + 16, '\0');
  auto* begin = reinterpret_cast<unsigned char*>(text.data());
  unsigned char* out = begin;
  unsigned char* end = begin + text.size();
  for (std::size_t i = 0; i < n;) {
    if (end - out < 8 + 3) {
      const auto used = static_cast<std::size_t>(out - begin);
      text.resize(text.size() + (n - i) * 2 + 16);
      begin = reinterpret_cast<unsigned char*>(text.data());
      out = begin + used;
      end = begin + text.size();
    }
    const unsigned char byte = s[i];
    if (byte < 0x80) {
      // Copy ASCII while the room lasts; the check above makes more.
      const std::size_t fits = static_cast<std::size_t>(end - out) - 3;
      const std::size_t run = CopyAscii(s + i, s + i + std::min(n - i, fits), out);
      i += run;
      out += run;
      continue;
    }
    if (byte >= 0x81 && byte <= 0xFE && i + 1 < n) {
      const unsigned char second = s[i + 1];
      const std::uint32_t form = utf8Forms.form[byte - 0x81][second];
      std::memcpy(out, &form, 4);  // the fourth byte is written over next, or cut
      out += form >> 24;
      // A broken pair never swallows an ASCII byte: that is read again on its
      // own. The usual high second byte steps on without waiting for the table.
      if (second >= 0x80) {
        i += 2;
      } else {
        i += table.pair[byte - 0x81][second] != 0 ? 2 : 1;
      }
    } else {
      out = PutUtf8(table.single[byte] != 0 ? table.single[byte] : kReplacement, out);
      ++i;
    }
  }
  text.resize(static_cast<std::size_t>(out - begin));
  return text;
}

}  // namespace kelvorat::platform
