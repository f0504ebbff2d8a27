// The request engine: one complete HTTP request through the WinINet-shaped
// platform layer. Failures are silent: the empty result.
#pragma once

#include "text/text.h"

namespace kelvorat {

// Method indices of HttpRequest; anything outside 0..7 is taken as GET.
enum HttpMethod : int {
  kGet = 0, kPost = 1, kHead = 2, kPut = 3, kOptions = 4, kDelete = 5, kTrace = 6, kConnect = 7
};

// The twelve optional settings of HttpRequest; every one may be omitted on its
// own (designated initializers: HttpRequest(url, {.method = kPost})).
// The in/out and out settings are the caller's own variables, passed by
// address; a null pointer means omitted. A non-null `cookies` counts as
// supplied even when it points to an empty Text.
struct HttpRequestOptions {
  int method = kGet;
  std::string_view textBody{};
  Text* cookies = nullptr;          // in/out; supplied turns platform cookies off
  Text* receivedCookies = nullptr;  // out
  Text* headers = nullptr;          // in/out: holds the block as sent
  Text* responseHeaders = nullptr;  // out
  bool noRedirect = false;
  Bytes* bytesBody = nullptr;       // in/out
  std::string_view proxy{};
  bool mergeReceived = true;
  bool completeHeaders = true;
  bool normalizeHeaders = true;
};

inline constexpr std::string_view kDefaultAgent = "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";

// The response body exactly as read; the empty Bytes on any failure.
Bytes HttpRequest(std::string_view url, const HttpRequestOptions& options = {});
// GET with every setting at its default; the body up to its first zero byte.
Text HttpGetText(std::string_view url);

}  // namespace kelvorat
