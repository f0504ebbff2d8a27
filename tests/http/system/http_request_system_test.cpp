// The request engine over the system's own HTTP platform (libcurl on Linux,
// wininet.dll on Windows), against the loopback servers of tools/: the one
// engine suite of both platforms. Only what the engine fixes is checked: the
// platform adds headers of its own (Host, Connection, caching) that differ
// between the two. The few cases that pin what only libcurl does are marked
// Linux-only where they stand.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "http/http_request.h"
#include "support/loopback_server.h"
#include "support/raw_http.h"

namespace kelvorat {
namespace {

using testing::BodyOf;
using testing::HeaderLines;
using testing::LinesNamed;
using testing::LoopbackServer;
using testing::RequestLine;

std::string AsString(const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

class HttpRequestOverSystemTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(server_.port(), 0) << "test_http_server.py did not start"; }
  LoopbackServer server_{"test_http_server.py"};
};

// The default request: GET, the default agent and exactly the engine's three
// header lines, in order, with the URL as given in the Referer.
TEST_F(HttpRequestOverSystemTest, HttpGetTextSendsTheDefaultRequest) {
  const std::string url = server_.Url("/echo/Path?Q=1&x=%41");
  const std::string raw = HttpGetText(url);
  EXPECT_EQ(RequestLine(raw), "GET /echo/Path?Q=1&x=%41 HTTP/1.1");
  const std::vector<std::string> lines = HeaderLines(raw);
  EXPECT_EQ(LinesNamed(lines, "User-Agent"), std::vector<std::string>{"User-Agent: " + std::string(kDefaultAgent)});
  const std::vector<std::string> engineLines = {"Accept: */*", "Referer: " + url, "Accept-Language: zh-cn"};
  const auto first = std::find(lines.begin(), lines.end(), engineLines[0]);
  ASSERT_LE(first + 3, lines.end()) << raw;
  EXPECT_EQ(std::vector<std::string>(first, first + 3), engineLines) << raw;
  EXPECT_EQ(LinesNamed(lines, "Accept").size(), 1u) << raw;
  EXPECT_EQ(LinesNamed(lines, "Referer").size(), 1u) << raw;
  EXPECT_TRUE(LinesNamed(lines, "Cookie").empty()) << raw;
  EXPECT_EQ(BodyOf(raw), "");
  EXPECT_EQ(server_.Requests().size(), 1u);
}

#ifndef _WIN32
// Linux-only: the whole request as libcurl sends it, Host first and no line of
// its own beyond it; WinINet adds Connection and caching lines.
TEST_F(HttpRequestOverSystemTest, DefaultRequestOverLibcurlIsExactlyTheEnginesLines) {
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
#endif

TEST_F(HttpRequestOverSystemTest, BodiesComeBackAsSent) {
  const Bytes bytes = HttpRequest(server_.Url("/bytes"));
  ASSERT_EQ(bytes.size(), 3000u);
  for (std::size_t i = 0; i < bytes.size(); ++i) ASSERT_EQ(bytes[i], i % 256) << i;
  EXPECT_EQ(HttpGetText(server_.Url("/bytes")), "") << "the body starts with a zero byte";

  EXPECT_EQ(HttpGetText(server_.Url("/chunked")), "hello, chunked world");
  EXPECT_EQ(HttpGetText(server_.Url("/status/404")), "status 404") << "the status is not looked at";
  EXPECT_EQ(HttpGetText(server_.Url("/status/500")), "status 500");
  EXPECT_EQ(HttpRequest(server_.Url("/status/204")), Bytes{});
}

TEST_F(HttpRequestOverSystemTest, ResponseHeadersAndReceivedCookies) {
  Text responseHeaders, receivedCookies;
  const Bytes body = HttpRequest(server_.Url("/cookies/set?name=sid&value=42"),
                                 {.receivedCookies = &receivedCookies, .responseHeaders = &responseHeaders});
  EXPECT_EQ(AsString(body), "cookie set");
  EXPECT_EQ(responseHeaders.substr(0, 21), "HTTP/1.1 200 Reason\r\n");
  ASSERT_GE(responseHeaders.size(), 4u);
  EXPECT_EQ(responseHeaders.substr(responseHeaders.size() - 4), "\r\n\r\n");
  EXPECT_NE(responseHeaders.find("\r\nSet-Cookie: sid=42; Path=/cookies\r\n"), std::string::npos) << responseHeaders;
  EXPECT_EQ(receivedCookies, "sid=42");

  // More than 5000 bytes of headers: the block stays 5000 spaces.
  receivedCookies = "old";
  HttpRequest(server_.Url("/big-headers"), {.receivedCookies = &receivedCookies, .responseHeaders = &responseHeaders});
  EXPECT_EQ(responseHeaders, Text(5000, ' '));
  EXPECT_EQ(receivedCookies, "");
}

TEST_F(HttpRequestOverSystemTest, PostSendsTheBodyWithItsContentType) {
  Bytes bytesBody;
  Text headers;
  const std::string raw = AsString(HttpRequest(
      server_.Url("/echo/form"), {.method = kPost, .textBody = "a=1&b=2", .headers = &headers, .bytesBody = &bytesBody}));
  EXPECT_EQ(RequestLine(raw), "POST /echo/form HTTP/1.1");
  EXPECT_EQ(LinesNamed(HeaderLines(raw), "Content-Type"),
            std::vector<std::string>{"Content-Type: application/x-www-form-urlencoded"});
  EXPECT_EQ(LinesNamed(HeaderLines(raw), "Content-Length"), std::vector<std::string>{"Content-Length: 7"});
  EXPECT_EQ(BodyOf(raw), "a=1&b=2");
  EXPECT_EQ(AsString(bytesBody), "a=1&b=2");
  EXPECT_EQ(headers,
            "Accept: */*\r\nReferer: " + server_.Url("/echo/form") +
                "\r\nAccept-Language: zh-cn\r\nContent-Type: application/x-www-form-urlencoded");
#ifndef _WIN32
  // Linux-only: libcurl puts the length last, right before the body; WinINet
  // writes lines of its own after it.
  EXPECT_NE(raw.find("\r\nContent-Length: 7\r\n\r\na=1&b=2"), std::string::npos)
      << "the length is the last header line, right before the body";
#endif
}

TEST_F(HttpRequestOverSystemTest, BinaryBytesBodyArrivesWholeWithEveryMethod) {
  const Bytes binary = {'a', 0, 'b', 0, 0, 0xFF, '\r', '\n', 0x80};
  for (int method : {kPost, kPut, kDelete, kOptions, kTrace, kConnect}) {
    SCOPED_TRACE(method);
    Bytes body = binary;
    const std::string raw = AsString(HttpRequest(server_.Url("/echo/binary"),
                                                 {.method = method, .textBody = "ignored", .bytesBody = &body}));
    EXPECT_EQ(BodyOf(raw), AsString(binary));
    EXPECT_EQ(LinesNamed(HeaderLines(raw), "Content-Length"), std::vector<std::string>{"Content-Length: 9"});
  }
}

TEST_F(HttpRequestOverSystemTest, RedirectsAreFollowedUnlessSwitchedOff) {
  const std::string followed = HttpGetText(server_.Url("/redirect?to=/echo/after"));
  EXPECT_EQ(RequestLine(followed), "GET /echo/after HTTP/1.1");

  Text responseHeaders;
  const Bytes moved = HttpRequest(server_.Url("/redirect?to=/echo/after"),
                                  {.responseHeaders = &responseHeaders, .noRedirect = true});
  EXPECT_EQ(AsString(moved), "moved");
  EXPECT_EQ(responseHeaders.substr(0, responseHeaders.find("\r\n")), "HTTP/1.1 302 Found");
}

// The platform keeps the cookies it is sent and sends them back; supplied
// cookies (even an empty text) switch that off, and only the engine's line goes.
TEST_F(HttpRequestOverSystemTest, PlatformCookiesTravelUnlessTheCallerSuppliesCookies) {
  HttpGetText(server_.Url("/cookies/set?name=platform_jar&value=7"));
  // Other tests in this process may have left cookies of their own in the store.
  const std::vector<std::string> kept = LinesNamed(HeaderLines(HttpGetText(server_.Url("/cookies/echo"))), "Cookie");
  ASSERT_EQ(kept.size(), 1u);
  EXPECT_NE(kept[0].find("platform_jar=7"), std::string::npos) << kept[0];

  Text none;
  EXPECT_TRUE(LinesNamed(HeaderLines(AsString(HttpRequest(server_.Url("/cookies/echo"), {.cookies = &none}))), "Cookie")
                  .empty())
      << "a supplied empty cookie text turns the platform's cookies off";

  Text cookies = "a=1; b=2";
  Text receivedCookies;
  const std::string raw =
      AsString(HttpRequest(server_.Url("/cookies/echo"), {.cookies = &cookies, .receivedCookies = &receivedCookies}));
  EXPECT_EQ(LinesNamed(HeaderLines(raw), "Cookie"), std::vector<std::string>{"Cookie: a=1; b=2"}) << raw;
  EXPECT_EQ(cookies, "a=1; b=2") << "nothing set by the echo: the merge keeps the caller's cookies";
}

TEST_F(HttpRequestOverSystemTest, ProxySettingGoesThroughTheProxy) {
  LoopbackServer proxy("forward_proxy.py");
  ASSERT_NE(proxy.port(), 0);
  const std::string url = server_.Url("/echo/proxied");
  const std::string raw = AsString(HttpRequest(url, {.proxy = "127.0.0.1:" + std::to_string(proxy.port())}));
  EXPECT_EQ(RequestLine(raw), "GET /echo/proxied HTTP/1.1");
  EXPECT_EQ(LinesNamed(HeaderLines(raw), "Via"), std::vector<std::string>{"Via: 1.1 forward_proxy"});
  const std::vector<std::string> proxied = proxy.Requests();
  ASSERT_EQ(proxied.size(), 1u);
  EXPECT_EQ(RequestLine(proxied[0]), "GET " + url + " HTTP/1.1");
}

TEST(HttpRequestOverSystem, SelfSignedHttpsIsReachedWithTheEngineFlags) {
  LoopbackServer server("test_http_server.py", {"--tls"});
  ASSERT_NE(server.port(), 0);
  const Text answer = HttpGetText(server.Url("/echo/secure", true));
  EXPECT_EQ(RequestLine(answer), "GET /echo/secure HTTP/1.1");
}

TEST(HttpRequestOverSystem, NothingListeningGivesTheEmptyResult) {
  // Port 9 (discard) on loopback: nothing listens there on a test machine.
  EXPECT_EQ(HttpRequest("http://127.0.0.1:9/echo"), Bytes{});
  EXPECT_EQ(HttpGetText("http://127.0.0.1:9/echo"), "");
}

}  // namespace
}  // namespace kelvorat
