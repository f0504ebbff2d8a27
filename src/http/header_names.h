// Header-name normalization of a request header block ("\r\n"-joined lines).
#pragma once

#include "text/text.h"

namespace kelvorat {

// The block with the first letter of each header name and each letter after a
// '-' in it upper-cased; lines without ':' dropped; no final "\r\n".
[[nodiscard]] Text NormalizeHeaderNames(std::string_view headers);
// text with its first byte upper-cased when it is an ASCII lower-case letter.
[[nodiscard]] Text CapitalizeFirst(std::string_view text);

}  // namespace kelvorat
