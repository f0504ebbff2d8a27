// What the tests that run the whole monitor against loopback services share:
// the services' addresses, their canned answers, and counting what they got.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "support/loopback_server.h"

namespace kelvorat::testing {

// "127.0.0.1:<port>", the host a cycle is pointed at.
inline std::string HostOf(const LoopbackServer& server) { return "127.0.0.1:" + std::to_string(server.port()); }

// Requests of a server's log whose request line starts with prefix.
inline std::size_t CountRequests(const LoopbackServer& server, const std::string& prefix) {
  std::size_t n = 0;
  for (const std::string& request : server.Requests()) n += request.rfind(prefix, 0) == 0;
  return n;
}

// Hex of bytes, for the /body and /delay routes of tools/test_http_server.py.
inline std::string Hex(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string hex;
  for (unsigned char c : bytes) {
    hex += kDigits[c >> 4];
    hex += kDigits[c & 15];
  }
  return hex;
}

// Server arguments: every request is answered at once with body.
inline std::vector<std::string> FastAnswer(std::string_view body) {
  return {"--answer-as", "/body?hex=" + Hex(body)};
}

// The check service's answers, UTF-8: the domain is fine ("域名正常"), or not.
inline constexpr std::string_view kFineAnswerUtf8 = "{\"msg\":\"\xE5\x9F\x9F\xE5\x90\x8D\xE6\xAD\xA3\xE5\xB8\xB8\"}";
inline constexpr std::string_view kBlockedAnswerUtf8 = "{\"msg\":\"blocked\"}";

}  // namespace kelvorat::testing
