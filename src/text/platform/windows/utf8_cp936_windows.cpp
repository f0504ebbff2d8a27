// kernel32 has no direct conversion between two multi-byte code pages: both
// go through wide text.
#include "text/internal/wide_steps.h"
#include "text/platform/utf8_cp936.h"

namespace kelvorat::platform {

Text Utf8ToCp936(std::string_view utf8) {
  return internal::WriteWide(internal::ReadWide(utf8, 65001), 936);
}

Text Cp936ToUtf8(std::string_view cp936) {
  return internal::WriteWide(internal::ReadWide(cp936, 936), 65001);
}

}  // namespace kelvorat::platform
