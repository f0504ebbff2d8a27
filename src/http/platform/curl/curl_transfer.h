// One HTTP request driven through libcurl the way a synchronous WinINet
// request behaves: sending returns once the final response's headers are in,
// and the body is then handed out piece by piece as the caller reads it,
// holding no more than a small window of it at a time.
#pragma once

#include <curl/curl.h>

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "http/platform/curl/curl_wininet.h"
#include "http/platform/curl/raw_headers.h"

namespace kelvorat::wininet::curl {

// Redirects followed in one request before it ends as failed.
inline constexpr long kMaxRedirects = 10;
// Body bytes held for the reader at most (one network read more when empty).
inline constexpr std::size_t kBodyWindow = 64 * 1024;

struct TransferSpec {
  std::string url;
  std::string verb = "GET";
  bool http10 = false;
  std::optional<std::string> agent;
  // The proxy URL, "" for none; nullopt leaves the choice to libcurl's
  // environment (the system's configuration).
  std::optional<std::string> proxy = std::string();
  std::string noProxy;
  bool useCookies = true;
  bool followRedirects = true;
  bool verifyPeer = true;
  bool verifyHost = true;
  std::vector<std::string> headerLines;
  // Sent with its length unless the verb is GET.
  std::optional<std::string> body;
  // Time-outs and body limit; a body longer than the limit ends the transfer as failed.
  TransferBounds bounds;
};

class CurlTransfer {
 public:
  explicit CurlTransfer(TransferSpec spec);
  ~CurlTransfer();
  CurlTransfer(const CurlTransfer&) = delete;
  CurlTransfer& operator=(const CurlTransfer&) = delete;

  // Sends the request and waits for the final response's headers; false when
  // they never came (refused, unreachable, timed out, invalid).
  bool Start();
  // Moves up to size body bytes into buffer. *count is 0 at the end of the
  // body; the result is false when the transfer failed or never started.
  bool Read(char* buffer, std::size_t size, std::size_t* count);
  // The final response's headers, once Start succeeded.
  [[nodiscard]] const RawHeaderCapture& headers() const { return headers_; }
  // True once the final response's headers are in.
  [[nodiscard]] bool headersArrived() const { return finalHeaders_; }

 private:
  static std::size_t OnHeader(char* data, std::size_t size, std::size_t count, void* self);
  static std::size_t OnBody(char* data, std::size_t size, std::size_t count, void* self);
  bool Configure();
  // Keeps the header lines that describe the body out of the requests still
  // to come (a redirect turned the request into a GET without its body).
  void DropBodyHeaders();
  // Ends this transfer at a redirect that the platform follows as a GET where
  // libcurl would keep the verb (any verb but GET, HEAD and POST, on 301, 302
  // and 303); false when the new URL cannot be made from the Location.
  bool RedirectAsGet();
  // Starts the GET that RedirectAsGet prepared, on a handle of its own.
  bool StartRedirectedGet();
  // Runs libcurl until ready() holds or the transfer has ended.
  template <typename Ready>
  void Drive(Ready ready);
  [[nodiscard]] std::size_t Available() const { return pending_.size() - readPos_; }

  TransferSpec spec_;
  CURL* easy_ = nullptr;
  CURLM* multi_ = nullptr;
  curl_slist* headerList_ = nullptr;
  RawHeaderCapture headers_;
  long redirectsSeen_ = 0;
  std::string redirectedGetUrl_;  // set by RedirectAsGet
  bool finalHeaders_ = false;
  bool started_ = false;
  bool endAtHeaders_ = false;
  bool done_ = false;
  CURLcode result_ = CURLE_OK;
  bool paused_ = false;
  std::string pending_;
  std::size_t readPos_ = 0;
  std::size_t bodyBytes_ = 0;  // of the final response, taken in so far
};

}  // namespace kelvorat::wininet::curl
