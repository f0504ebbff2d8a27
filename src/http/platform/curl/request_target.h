// The URL libcurl is given for one request: scheme, host, port and a request
// target whose bytes can neither split the request line nor add a header.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kelvorat::wininet::curl {

// The object path as it may stand in a request line: the bytes below 0x21,
// 0x7F and above percent-escaped ("%0D", upper-case hex), every other byte as
// given; a fragment ("#" and after) is dropped as no client sends it, and a
// path that does not begin with "/" gets one. Example: "/a b#x" -> "/a%20b".
[[nodiscard]] std::string EscapeRequestTarget(std::string_view objectPath);

// The host as it stands in a URL: a name or IPv4 address as given, an IPv6
// address in brackets (added when missing). Nullopt for an empty host or one
// holding a byte that could change what the URL means ("/", "?", "#", "@",
// spaces, controls, bytes of 0x7F and above, a stray bracket).
[[nodiscard]] std::optional<std::string> UrlHost(std::string_view host);

// "http://host[:port]/target" or "https://..."; port 0 means the scheme's
// default and is left out. Nullopt when the host is refused by UrlHost.
[[nodiscard]] std::optional<std::string> RequestUrl(bool secure, std::string_view host,
                                                    std::uint16_t port,
                                                    std::string_view objectPath);

}  // namespace kelvorat::wininet::curl
