// UTF-8 to code page 936 and back in one call, with exactly the result of
// reading the source into wide text and writing that out with the platform
// conversion functions (internal/wide_steps.h), only faster where the
// platform has its own tables. The source holds no zero byte.
#pragma once

#include <string_view>

#include "text/text.h"

namespace kelvorat::platform {

[[nodiscard]] Text Utf8ToCp936(std::string_view utf8);
[[nodiscard]] Text Cp936ToUtf8(std::string_view cp936);

}  // namespace kelvorat::platform
