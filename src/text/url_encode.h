// Percent-encoding of a Text for the query of a URL.
#pragma once

#include "text/text.h"

namespace kelvorat {

// Every byte becomes "%" and two upper-case hex digits. keepUnreserved leaves
// '-', '.', digits and ASCII letters as they are; toUtf8First encodes the
// UTF-8 form of the text instead of its code page 936 bytes. "" gives "".
[[nodiscard]] Text UrlEncodeText(std::string_view text, bool keepUnreserved = false,
                                 bool toUtf8First = false);

}  // namespace kelvorat
