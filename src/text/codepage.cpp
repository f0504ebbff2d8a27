// Conversion between code page 936, UTF-8 and wide text through the platform
// conversion functions. Buffers are sized for the requested code page (not
// the ANSI one), so that no conversion is ever cut short for lack of room.
#include "text/codepage.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <string>

#include "text/platform/codepage_platform.h"

namespace kelvorat {
namespace {

static_assert(std::endian::native == std::endian::little, "wide text is UTF-16LE in memory");

// The text up to its first zero byte, as the platform reads a terminated source.
std::string_view UpToZero(std::string_view text) {
  return text.substr(0, std::min(text.find('\0'), text.size()));
}

// text read in codePage, without a terminator; empty on failure.
std::u16string ReadWide(std::string_view text, int codePage) {
  text = UpToZero(text);
  if (text.empty()) return {};
  const auto page = static_cast<unsigned>(codePage);
  const int length = static_cast<int>(text.size());
  const int units = platform::MultiByteToWideChar(page, 0, text.data(), length, nullptr, 0);
  std::u16string wide(static_cast<std::size_t>(units), u'\0');
  if (units > 0) platform::MultiByteToWideChar(page, 0, text.data(), length, wide.data(), units);
  return wide;
}

// wide written in codePage; empty on failure.
Text WriteWide(std::u16string_view wide, int codePage) {
  if (wide.empty()) return {};
  const auto page = static_cast<unsigned>(codePage);
  const int length = static_cast<int>(wide.size());
  const int bytes =
      platform::WideCharToMultiByte(page, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
  Text text(static_cast<std::size_t>(bytes), '\0');
  if (bytes > 0) {
    platform::WideCharToMultiByte(page, 0, wide.data(), length, text.data(), bytes, nullptr, nullptr);
  }
  return text;
}

}  // namespace

Bytes MultiByteToWideText(std::string_view text, int codePage) {
  if (text.empty()) return {};
  const std::u16string wide = ReadWide(text, codePage);
  Bytes bytes((wide.size() + 1) * sizeof(char16_t), 0);  // ends in a zero unit
  if (!wide.empty()) std::memcpy(bytes.data(), wide.data(), wide.size() * sizeof(char16_t));
  return bytes;
}

Text WideTextToMultiByte(const Bytes& wide, int codePage) {
  // Read up to the first zero unit, never past the end of the Bytes.
  std::u16string units(wide.size() / sizeof(char16_t), u'\0');
  if (!units.empty()) std::memcpy(units.data(), wide.data(), units.size() * sizeof(char16_t));
  units.resize(std::min(units.find(u'\0'), units.size()));
  return WriteWide(units, codePage);
}

Text Utf8ToAnsi(std::string_view utf8) {
  return WriteWide(ReadWide(utf8, kUtf8CodePage), kGbkCodePage);
}

Text AnsiToUtf8(std::string_view ansi) {
  return WriteWide(ReadWide(ansi, kGbkCodePage), kUtf8CodePage);
}

}  // namespace kelvorat
