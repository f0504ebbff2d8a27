// Reading the proxy and bypass texts of a session in the forms the WinINet
// platform accepts, turned into what libcurl takes.
#pragma once

#include <string>
#include <string_view>

namespace kelvorat::wininet::curl {

// The proxy URL for one request, or "" for a direct connection. proxyText is
// a list of entries separated by spaces or ";": "scheme=host:port" applies to
// that scheme only ("http", "https"; "socks" to any scheme without its own
// entry), a plain "host:port" to every scheme; an entry for the request's own
// scheme wins over a plain one, which wins over "socks". A host without a
// port gets 80 (1080 for socks). Example: ("http=p:8080", false) ->
// "http://p:8080", ("http=p:8080", true) -> "".
[[nodiscard]] std::string ProxyForScheme(std::string_view proxyText, bool secure);

// The bypass list as libcurl's comma-separated no-proxy list: "*.example.com"
// becomes "example.com", "*" stays; "<local>" and other wildcard patterns,
// which libcurl cannot express, are left out. Example: "*.a.com;b.org" ->
// "a.com,b.org".
[[nodiscard]] std::string NoProxyList(std::string_view bypassText);

}  // namespace kelvorat::wininet::curl
