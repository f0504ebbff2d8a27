// Host, port and path of a URL, derived by plain text rules (no URL grammar).
#pragma once

#include <optional>

#include "text/text.h"

namespace kelvorat {

// The host text, lower case. rootOnly reduces it to its last labels; keepPort
// keeps an explicit ":port"; a present dotCount (any value) selects the
// dot-count mode.
[[nodiscard]] Text UrlGetHost(std::string_view url, bool rootOnly = false, bool keepPort = false,
                              std::optional<int> dotCount = std::nullopt);
// The explicit port, else 443 for "https" and 80 otherwise.
[[nodiscard]] std::int32_t UrlGetPort(std::string_view url);
// The path with query and fragment from the first '/' after the host; "/" when none.
[[nodiscard]] Text UrlGetPath(std::string_view url);

}  // namespace kelvorat
