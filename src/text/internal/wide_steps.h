// Conversion in two steps through wide text, over the platform conversion
// functions: the reading step and the writing step on their own.
#pragma once

#include <string>
#include <string_view>

#include "text/text.h"

namespace kelvorat::internal {

// text up to its first zero byte, read in codePage; empty on failure.
[[nodiscard]] std::u16string ReadWide(std::string_view text, int codePage);
// wide written in codePage (the default character '?' where it lacks one);
// empty on failure.
[[nodiscard]] Text WriteWide(std::u16string_view wide, int codePage);

}  // namespace kelvorat::internal
