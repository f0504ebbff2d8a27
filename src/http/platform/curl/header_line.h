// One header line as WinINet writes a request's lines and reports a
// response's: the same form both ways.
#pragma once

#include <string>
#include <string_view>

namespace kelvorat::wininet::curl {

// A header line in the form the platform writes and reports it: the name
// without surrounding spaces, ": ", the value without surrounding spaces (tabs
// are kept, as the platform keeps them); "" for a line without a colon or
// without a name. Example: "  x-a :  b c  " -> "x-a: b c", "X-E:" -> "X-E: ".
[[nodiscard]] std::string HeaderLine(std::string_view line);

}  // namespace kelvorat::wininet::curl
