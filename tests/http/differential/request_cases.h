// The request cases of the differential suite: one HttpRequest each, sent by
// the same driver on Linux (libcurl) and on Windows (WinINet) to the capture
// server of tools/capture_server.py, which answers by the second path segment.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "http/http_request.h"

namespace kelvorat::differential {

struct RequestCase {
  // Also the first segment of the path, so the captured requests of a case
  // (redirects included) are found by it.
  std::string name{};
  // Runs in the proxy pass: a process of its own, through the capture server
  // as the proxy, to a host that only the proxy knows.
  bool viaProxy = false;
  // The URL with "{server}" standing for "127.0.0.1:<port>".
  std::string url{};
  int method = kGet;
  std::string textBody{};
  std::optional<Bytes> bytesBody{};
  // The caller's cookies; nullopt leaves them to the platform.
  std::optional<Text> cookies{};
  Text headers{};
  bool noRedirect = false;
  bool mergeReceived = true;
  bool completeHeaders = true;
  bool normalizeHeaders = true;
};

// Every case in the order the driver sends them: a later case may rely on the
// cookies an earlier one had the platform keep.
[[nodiscard]] const std::vector<RequestCase>& RequestCases();

}  // namespace kelvorat::differential
