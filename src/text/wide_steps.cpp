// Both steps size their buffers for the requested code page (not the ANSI
// one), so that no conversion is ever cut short for lack of room.
#include "text/internal/wide_steps.h"

#include <algorithm>

#include "text/platform/codepage_platform.h"

namespace kelvorat::internal {

std::u16string ReadWide(std::string_view text, int codePage) {
  text = text.substr(0, std::min(text.find('\0'), text.size()));  // as the platform reads a terminated source
  if (text.empty()) return {};
  const auto page = static_cast<unsigned>(codePage);
  const int length = static_cast<int>(text.size());
  const int units = platform::MultiByteToWideChar(page, 0, text.data(), length, nullptr, 0);
  std::u16string wide(static_cast<std::size_t>(units), u'\0');
  if (units > 0) platform::MultiByteToWideChar(page, 0, text.data(), length, wide.data(), units);
  return wide;
}

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

}  // namespace kelvorat::internal
