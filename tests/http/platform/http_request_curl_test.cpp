// The request engine over the libcurl backend, end to end against the
// loopback servers: what the default request puts on the wire and what the
// settings get back.
#include <gtest/gtest.h>

#include <string>

#include "http/http_request.h"
#include "support/loopback_server.h"
#include "support/raw_http.h"

namespace kelvorat {
namespace {

using testing::BodyOf;
using testing::LoopbackServer;
using testing::RequestLine;

std::string AsString(const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

class HttpRequestOverCurlTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(server_.port(), 0); }
  LoopbackServer server_{"test_http_server.py"};
};

TEST_F(HttpRequestOverCurlTest, HttpGetTextSendsTheDefaultRequest) {
  const std::string url = server_.Url("/echo/Path?Q=1");
  const Text answer = HttpGetText(url);
  EXPECT_EQ(answer,
            "GET /echo/Path?Q=1 HTTP/1.1\r\n"
            "Host: 127.0.0.1:" + std::to_string(server_.port()) + "\r\n"
            "User-Agent: " + std::string(kDefaultAgent) + "\r\n"
            "Accept: */*\r\n"
            "Referer: " + url + "\r\n"
            "Accept-Language: zh-cn\r\n"
            "\r\n");
}

TEST_F(HttpRequestOverCurlTest, PostBodyHeadersAndCookiesComeBack) {
  Text responseHeaders, receivedCookies;
  const Bytes body = HttpRequest(server_.Url("/echo/form"),
                                 {.method = kPost, .textBody = "a=1&b=2"});
  const std::string raw = AsString(body);
  EXPECT_EQ(RequestLine(raw), "POST /echo/form HTTP/1.1");
  EXPECT_NE(raw.find("\r\nContent-Type: application/x-www-form-urlencoded\r\n"), std::string::npos);
  EXPECT_NE(raw.find("\r\nContent-Length: 7\r\n\r\na=1&b=2"), std::string::npos);

  HttpRequest(server_.Url("/cookies/set?name=sid&value=42"),
              {.receivedCookies = &receivedCookies, .responseHeaders = &responseHeaders});
  EXPECT_EQ(receivedCookies, "sid=42");
  EXPECT_EQ(responseHeaders.substr(0, 21), "HTTP/1.1 200 Reason\r\n");
  EXPECT_EQ(responseHeaders.substr(responseHeaders.size() - 4), "\r\n\r\n");

  HttpRequest(server_.Url("/big-headers"), {.responseHeaders = &responseHeaders});
  EXPECT_EQ(responseHeaders, Text(5000, ' '));
}

TEST_F(HttpRequestOverCurlTest, ProxySettingReachesTheServerThroughTheProxy) {
  LoopbackServer proxy("forward_proxy.py");
  ASSERT_NE(proxy.port(), 0);
  const Bytes body =
      HttpRequest(server_.Url("/echo/proxied"), {.proxy = "127.0.0.1:" + std::to_string(proxy.port())});
  EXPECT_NE(AsString(body).find("\r\nVia: 1.1 forward_proxy\r\n"), std::string::npos);
  EXPECT_EQ(proxy.Requests().size(), 1u);
}

// The body of the request the echo route received, after its blank line.
std::string EchoedBody(const Bytes& answer) { return BodyOf(AsString(answer)); }

std::string EchoedCookieLine(const Bytes& answer) {
  const std::string raw = AsString(answer);
  const auto at = raw.find("\r\nCookie: ");
  return at == std::string::npos ? std::string() : raw.substr(at + 2, raw.find("\r\n", at + 2) - at - 2);
}

TEST_F(HttpRequestOverCurlTest, BinaryBytesBodyArrivesWholeWithEveryMethod) {
  const Bytes binary = {'a', 0, 'b', 0, 0, 0xFF, '\r', '\n', 0x80};
  for (int method : {kPost, kPut, kDelete, kOptions, kTrace, kConnect}) {
    SCOPED_TRACE(method);
    Bytes body = binary;
    const Bytes answer = HttpRequest(server_.Url("/echo/binary"),
                                     {.method = method, .textBody = "ignored", .bytesBody = &body});
    EXPECT_EQ(EchoedBody(answer), AsString(binary));
    EXPECT_NE(AsString(answer).find("\r\nContent-Length: 9\r\n"), std::string::npos);
  }
}

TEST_F(HttpRequestOverCurlTest, PlatformCookiesTravelUnlessTheCallerSuppliesCookies) {
  HttpRequest(server_.Url("/cookies/set?name=platform_jar&value=7"));
  // Other tests in this process may have left cookies of their own in the store.
  EXPECT_NE(EchoedCookieLine(HttpRequest(server_.Url("/cookies/echo"))).find("platform_jar=7"),
            std::string::npos);

  Text none;
  EXPECT_EQ(EchoedCookieLine(HttpRequest(server_.Url("/cookies/echo"), {.cookies = &none})), "")
      << "a supplied empty cookie text turns the platform's cookies off";

  Text own = "a=1; b=2";
  EXPECT_EQ(EchoedCookieLine(HttpRequest(server_.Url("/cookies/echo"), {.cookies = &own})),
            "Cookie: a=1; b=2");
  EXPECT_EQ(own, "a=1; b=2") << "nothing set by the echo: the merge keeps the caller's cookies";
}

TEST_F(HttpRequestOverCurlTest, NoRedirectReturnsTheRedirectItself) {
  Text headers;
  const Bytes followed = HttpRequest(server_.Url("/redirect?to=/echo/target"));
  EXPECT_EQ(AsString(followed).substr(0, 25), "GET /echo/target HTTP/1.1");

  const Bytes kept = HttpRequest(server_.Url("/redirect?to=/echo/target"),
                                 {.responseHeaders = &headers, .noRedirect = true});
  EXPECT_EQ(AsString(kept), "moved");
  EXPECT_EQ(headers.substr(0, headers.find("\r\n")), "HTTP/1.1 302 Found");
}

TEST(HttpRequestOverCurl, SelfSignedHttpsIsReachedWithTheEngineFlags) {
  LoopbackServer server("test_http_server.py", {"--tls"});
  ASSERT_NE(server.port(), 0);
  const Text answer = HttpGetText(server.Url("/echo/secure", true));
  EXPECT_EQ(RequestLine(answer), "GET /echo/secure HTTP/1.1");
}

}  // namespace
}  // namespace kelvorat
