// Conversion between code page 936, UTF-8 and wide text: through the platform
// conversion functions, and straight between UTF-8 and 936 where the platform
// layer converts in one step.
#include "text/codepage.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <string>

#include "text/internal/wide_steps.h"
#include "text/platform/utf8_cp936.h"

namespace kelvorat {
namespace {

static_assert(std::endian::native == std::endian::little, "wide text is UTF-16LE in memory");

// The text up to its first zero byte, as the platform reads a terminated source.
std::string_view UpToZero(std::string_view text) {
  return text.substr(0, std::min(text.find('\0'), text.size()));
}

}  // namespace

using internal::ReadWide;
using internal::WriteWide;

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

Text Utf8ToAnsi(std::string_view utf8) { return platform::Utf8ToCp936(UpToZero(utf8)); }

Text AnsiToUtf8(std::string_view ansi) { return platform::Cp936ToUtf8(UpToZero(ansi)); }

}  // namespace kelvorat
