// Cutting a piece of Text out by markers. A marker that is not found gives "".
#pragma once

#include "text/text.h"

namespace kelvorat {

// Text between the first leftMarker at or after startPos (below 2: from 1) and
// the first rightMarker after it. "#引号" in a marker stands for a double quote.
[[nodiscard]] Text TextBetween(std::string_view text, std::string_view leftMarker,
                               std::string_view rightMarker, int startPos = 0,
                               bool ignoreCase = false);
// Text from position 1 up to the first marker found at or after startPos.
[[nodiscard]] Text TextBefore(std::string_view text, std::string_view marker, int startPos = 0,
                              bool ignoreCase = false);
// Text after the first ':' of line, trimmed; "" when there is no ':'.
[[nodiscard]] Text HeaderLineValue(std::string_view line);

}  // namespace kelvorat
