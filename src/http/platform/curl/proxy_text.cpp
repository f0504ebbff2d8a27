// Proxy and bypass text parsing for the libcurl backend.
#include "http/platform/curl/proxy_text.h"

#include <vector>

namespace kelvorat::wininet::curl {
namespace {

std::vector<std::string_view> Entries(std::string_view text, std::string_view separators) {
  std::vector<std::string_view> entries;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find_first_of(separators, start);
    if (end == std::string_view::npos) end = text.size();
    if (end > start) entries.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return entries;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// "host", "host:port", "[v6]:port" or "scheme://host:port", with the scheme
// and the default port filled in.
std::string ProxyUrl(std::string_view value, std::string_view scheme, std::string_view port) {
  std::string url;
  std::size_t afterScheme = value.find("://");
  if (afterScheme == std::string_view::npos) {
    url = std::string(scheme) + "://" + std::string(value);
    afterScheme = scheme.size();
  } else {
    url = std::string(value);
  }
  std::string_view authority = std::string_view(url).substr(afterScheme + 3);
  authority = authority.substr(0, authority.find('/'));
  std::size_t bracket = authority.rfind(']');
  std::size_t colon = authority.rfind(':');
  bool hasPort = colon != std::string_view::npos && (bracket == std::string_view::npos || colon > bracket);
  if (!hasPort) url.insert(afterScheme + 3 + authority.size(), ":" + std::string(port));
  return url;
}

}  // namespace

std::string ProxyForScheme(std::string_view proxyText, bool secure) {
  const std::string_view scheme = secure ? "https" : "http";
  std::string_view own, plain, socks;
  for (std::string_view entry : Entries(proxyText, " \t;")) {
    std::size_t equals = entry.find('=');
    if (equals == std::string_view::npos) {
      if (plain.empty()) plain = entry;
      continue;
    }
    std::string_view name = entry.substr(0, equals);
    std::string_view value = entry.substr(equals + 1);
    if (value.empty()) continue;
    if (EqualsIgnoringCase(name, scheme)) {
      if (own.empty()) own = value;
    } else if (EqualsIgnoringCase(name, "socks")) {
      if (socks.empty()) socks = value;
    }
  }
  if (!own.empty()) return ProxyUrl(own, "http", "80");
  if (!plain.empty()) return ProxyUrl(plain, "http", "80");
  if (!socks.empty()) return ProxyUrl(socks, "socks4", "1080");
  return "";
}

std::string NoProxyList(std::string_view bypassText) {
  std::string list;
  for (std::string_view entry : Entries(bypassText, " \t;,")) {
    if (entry != "*" && entry.substr(0, 2) == "*.") entry.remove_prefix(2);
    if (entry.empty() || entry.front() == '<' || (entry != "*" && entry.find('*') != std::string_view::npos)) {
      continue;
    }
    if (!list.empty()) list += ',';
    list += entry;
  }
  return list;
}

}  // namespace kelvorat::wininet::curl
