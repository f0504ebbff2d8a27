// The caller's request header block turned into libcurl header lines.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kelvorat::wininet::curl {

// text with every CR, LF and NUL turned into a space, so that it stays within
// one header line on the wire.
[[nodiscard]] std::string OneHeaderLine(std::string_view text);

// One libcurl header line per non-empty line of the block (lines end at
// "\r\n"), in order. A lone CR or LF or a NUL inside a line becomes a space, so
// no line can end early on the wire or add a header. A header with an empty
// value is still sent ("Name;" in libcurl's terms). Last come the lines that
// keep libcurl from adding headers of its own that the block lacks: "Accept:",
// "Expect:" and, when a body is sent, "Content-Type:".
// Example: ("Accept: */*\r\n\r\nX-A: 1\nX-B: 2", false)
//   -> {"Accept: */*", "X-A: 1 X-B: 2", "Expect:"}.
[[nodiscard]] std::vector<std::string> CurlHeaderLines(std::string_view block, bool sendsBody);

}  // namespace kelvorat::wininet::curl
