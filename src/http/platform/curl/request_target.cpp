// Request target escaping and URL assembly for the libcurl backend.
#include "http/platform/curl/request_target.h"

namespace kelvorat::wininet::curl {
namespace {

bool IsAsciiAlnum(unsigned char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// Bytes a registered name may hold in a URL without ending the authority or
// changing its meaning.
bool IsNameByte(unsigned char c) {
  return IsAsciiAlnum(c) || std::string_view("-._~!$&'()*+,;=%").find(static_cast<char>(c)) !=
                                std::string_view::npos;
}

// An IPv6 address (hex digits, ":" and "." for an embedded IPv4 part),
// optionally with a zone after "%".
bool IsAddressLiteral(std::string_view inner) {
  std::size_t zone = inner.find('%');
  std::string_view address = inner.substr(0, zone);
  if (address.find(':') == std::string_view::npos) return false;
  for (unsigned char c : address) {
    const bool hex = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
    if (!hex && c != ':' && c != '.') return false;
  }
  if (zone == std::string_view::npos) return true;
  std::string_view name = inner.substr(zone + 1);
  if (name.empty()) return false;
  for (unsigned char c : name) {
    if (!IsAsciiAlnum(c)) return false;
  }
  return true;
}

}  // namespace

std::string EscapeRequestTarget(std::string_view objectPath) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  objectPath = objectPath.substr(0, objectPath.find('#'));
  std::string target;
  target.reserve(objectPath.size() + 1);
  if (objectPath.empty() || objectPath.front() != '/') target += '/';
  for (unsigned char c : objectPath) {
    if (c <= 0x20 || c >= 0x7F) {
      target += '%';
      target += kHex[c >> 4];
      target += kHex[c & 0x0F];
    } else {
      target += static_cast<char>(c);
    }
  }
  return target;
}

std::optional<std::string> UrlHost(std::string_view host) {
  if (host.empty()) return std::nullopt;
  if (host.front() == '[') {
    if (host.back() != ']' || !IsAddressLiteral(host.substr(1, host.size() - 2))) {
      return std::nullopt;
    }
    return std::string(host);
  }
  if (host.find(':') != std::string_view::npos) {
    if (!IsAddressLiteral(host)) return std::nullopt;
    return "[" + std::string(host) + "]";
  }
  for (unsigned char c : host) {
    if (!IsNameByte(c)) return std::nullopt;
  }
  return std::string(host);
}

std::optional<std::string> RequestUrl(bool secure, std::string_view host, std::uint16_t port,
                                      std::string_view objectPath) {
  std::optional<std::string> urlHost = UrlHost(host);
  if (!urlHost) return std::nullopt;
  std::string url = secure ? "https://" : "http://";
  url += *urlHost;
  if (port != 0) url += ":" + std::to_string(port);
  url += EscapeRequestTarget(objectPath);
  return url;
}

}  // namespace kelvorat::wininet::curl
