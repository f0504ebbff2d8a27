// The libcurl backend driven directly through WinInetApi against the loopback
// servers of tools/: what reaches the wire, and what the engine reads back.
#include "http/platform/curl/curl_wininet.h"

#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <string>

#include "http/platform/system_binding.h"
#include "support/loopback_server.h"
#include "support/raw_http.h"

namespace kelvorat::wininet {
namespace {

using testing::BodyOf;
using testing::HeadOf;
using testing::LoopbackServer;
using testing::RequestLine;

constexpr const char* kAgent = "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";
constexpr DWORD kPlainFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NEED_FILE |
                              INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS;
constexpr DWORD kSecureFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NEED_FILE | INTERNET_FLAG_SECURE;
constexpr DWORD kAllSecurityFlags = 0x0001F380;

struct Call {
  std::string agent = kAgent;
  std::string host = "127.0.0.1";
  INTERNET_PORT port = 0;
  std::string verb = "GET";
  std::string path = "/echo";
  DWORD flags = kPlainFlags;
  std::optional<DWORD> securityFlags = kAllSecurityFlags;
  std::string headers;  // sent as given; null when empty
  std::string body;     // null when empty
  DWORD accessType = INTERNET_OPEN_TYPE_DIRECT;
  std::string proxy;
  DWORD readSize = 1024;
};

struct Outcome {
  bool sent = false;
  bool lastReadOk = false;
  bool piecesWithinSize = true;
  std::string body;
  std::string headers;  // the raw header block, "" when the query failed
};

// One request the way the engine makes it: open, connect, open request, set
// the security flags, send, read to the end, query the raw headers, close.
Outcome Perform(const Call& call) {
  WinInetApi& api = SystemBinding();
  Outcome out;
  const bool viaProxy = call.accessType == INTERNET_OPEN_TYPE_PROXY;
  HINTERNET session = api.InternetOpenA(call.agent.c_str(), call.accessType, viaProxy ? call.proxy.c_str() : nullptr,
                                        viaProxy ? "" : nullptr, 0);
  EXPECT_NE(session, nullptr);
  HINTERNET connection = api.InternetConnectA(session, call.host.c_str(), call.port, nullptr, nullptr,
                                              INTERNET_SERVICE_HTTP, 0, 0);
  EXPECT_NE(connection, nullptr);
  HINTERNET request = api.HttpOpenRequestA(connection, call.verb.c_str(), call.path.c_str(),
                                           "HTTP/1.1", nullptr, nullptr, call.flags, 0);
  EXPECT_NE(request, nullptr);
  if (call.securityFlags) {
    DWORD value = *call.securityFlags;
    EXPECT_TRUE(api.InternetSetOptionA(request, INTERNET_OPTION_SECURITY_FLAGS, &value, sizeof value));
  }
  std::string body = call.body;
  out.sent = api.HttpSendRequestA(request, call.headers.empty() ? nullptr : call.headers.c_str(),
                                  static_cast<DWORD>(call.headers.size()),
                                  body.empty() ? nullptr : body.data(), static_cast<DWORD>(body.size()));
  std::string buffer(call.readSize, '\0');
  DWORD count = 0;
  do {
    out.lastReadOk = api.InternetReadFile(request, buffer.data(), call.readSize, &count);
    out.piecesWithinSize = out.piecesWithinSize && count <= call.readSize;
    out.body.append(buffer.data(), count);
  } while (count > 0);
  std::string headers(5000, ' ');
  DWORD length = 5000;
  if (api.HttpQueryInfoA(request, HTTP_QUERY_RAW_HEADERS_CRLF, headers.data(), &length, nullptr)) {
    out.headers = headers.substr(0, length);
  }
  EXPECT_TRUE(api.InternetCloseHandle(request));
  EXPECT_TRUE(api.InternetCloseHandle(connection));
  EXPECT_TRUE(api.InternetCloseHandle(session));
  return out;
}

std::size_t Count(const std::string& text, const std::string& what) {
  std::size_t n = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

class CurlWinInetTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(server_.port(), 0) << "test_http_server.py did not start"; }
  Call To(const std::string& path) {
    Call call;
    call.port = server_.port();
    call.path = path;
    return call;
  }
  LoopbackServer server_{"test_http_server.py"};
};

TEST_F(CurlWinInetTest, GetSendsTheHeaderBlockAndAgentAsGiven) {
  Call call = To("/echo?q=1");
  const std::string referer = server_.Url("/echo?q=1");
  call.headers = "Accept: */*\r\nReferer: " + referer + "\r\nAccept-Language: zh-cn";
  Outcome out = Perform(call);
  ASSERT_TRUE(out.sent);
  EXPECT_EQ(out.body,
            "GET /echo?q=1 HTTP/1.1\r\n"
            "Host: 127.0.0.1:" + std::to_string(server_.port()) + "\r\n"
            "User-Agent: " + kAgent + "\r\n"
            "Accept: */*\r\n"
            "Referer: " + referer + "\r\n"
            "Accept-Language: zh-cn\r\n"
            "\r\n");
  EXPECT_EQ(server_.Requests(), std::vector<std::string>{out.body});
}

TEST_F(CurlWinInetTest, ResponsesReachTheReaderWhole) {
  std::string bytes;
  for (int i = 0; i < 3000; ++i) bytes += static_cast<char>(i % 256);
  struct Row {
    const char* name;
    std::string path;
    DWORD extraFlags;
    DWORD readSize;
    std::string statusLine;
    std::string body;
  };
  const Row rows[] = {
      {"404 keeps its body", "/status/404", 0, 1024, "HTTP/1.1 404 Reason", "status 404"},
      {"204 is empty", "/status/204", 0, 1024, "HTTP/1.1 204 Reason", ""},
      {"chunked body decoded", "/chunked", 0, 1024, "HTTP/1.1 200 OK", "hello, chunked world"},
      {"zero bytes in 7-byte pieces", "/bytes", 0, 7, "HTTP/1.1 200 Reason", bytes},
      {"redirect followed", "/redirect?to=/status/404", 0, 1024, "HTTP/1.1 404 Reason", "status 404"},
      {"redirect not followed", "/redirect?to=/status/404", INTERNET_FLAG_NO_AUTO_REDIRECT, 1024,
       "HTTP/1.1 302 Found", "moved"},
  };
  for (const Row& row : rows) {
    Call call = To(row.path);
    call.flags |= row.extraFlags;
    call.readSize = row.readSize;
    Outcome out = Perform(call);
    EXPECT_TRUE(out.sent) << row.name;
    EXPECT_TRUE(out.lastReadOk) << row.name;
    EXPECT_TRUE(out.piecesWithinSize) << row.name;
    EXPECT_EQ(out.body, row.body) << row.name;
    EXPECT_EQ(out.headers.substr(0, row.statusLine.size() + 2), row.statusLine + "\r\n") << row.name;
    EXPECT_EQ(out.headers.substr(out.headers.size() - 4), "\r\n\r\n") << row.name;
    EXPECT_EQ(out.headers.find("X-Trailer: done"), std::string::npos) << row.name;
  }
}

TEST_F(CurlWinInetTest, HeaderQueryThatDoesNotFitLeavesTheBufferAlone) {
  WinInetApi& api = SystemBinding();
  for (const char* path : {"/big-headers", "/status/404"}) {
    HINTERNET session = api.InternetOpenA(kAgent, INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
    HINTERNET connection = api.InternetConnectA(session, "127.0.0.1", server_.port(), nullptr, nullptr,
                                                INTERNET_SERVICE_HTTP, 0, 0);
    HINTERNET request =
        api.HttpOpenRequestA(connection, "GET", path, "HTTP/1.1", nullptr, nullptr, kPlainFlags, 0);
    ASSERT_TRUE(api.HttpSendRequestA(request, nullptr, 0, nullptr, 0)) << path;

    // Find the size the block needs, then offer one byte less, then exactly that.
    DWORD needed = 0;
    EXPECT_FALSE(api.HttpQueryInfoA(request, HTTP_QUERY_RAW_HEADERS_CRLF, nullptr, &needed, nullptr));
    if (std::string(path) == "/big-headers") {
      EXPECT_GT(needed, 5000u);
    }
    std::string buffer(needed, ' ');
    DWORD length = needed - 1;
    EXPECT_FALSE(api.HttpQueryInfoA(request, HTTP_QUERY_RAW_HEADERS_CRLF, buffer.data(), &length, nullptr))
        << path;
    EXPECT_EQ(buffer, std::string(needed, ' ')) << path;
    EXPECT_EQ(length, needed) << path;
    EXPECT_TRUE(api.HttpQueryInfoA(request, HTTP_QUERY_RAW_HEADERS_CRLF, buffer.data(), &length, nullptr))
        << path;
    EXPECT_EQ(length, needed - 1) << path;
    EXPECT_EQ(buffer.back(), '\0') << path;
    EXPECT_EQ(buffer.substr(needed - 5, 4), "\r\n\r\n") << path;
    api.InternetCloseHandle(session);  // closes the connection and the request with it
  }
}

TEST_F(CurlWinInetTest, SilentServerEndsInAFailedRequest) {
  const TransferBounds previous = SetTransferBounds({std::chrono::milliseconds(2000), std::chrono::seconds(1)});
  const auto start = std::chrono::steady_clock::now();
  Outcome out = Perform(To("/silent"));
  SetTransferBounds(previous);
  EXPECT_FALSE(out.sent);
  EXPECT_FALSE(out.lastReadOk);
  EXPECT_EQ(out.body, "");
  EXPECT_EQ(out.headers, "");
  // A generous bound: the point is that the wait ends at all.
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(60));
}

TEST(CurlWinInetHttps, CertificateChecksFollowTheSecurityFlags) {
  LoopbackServer server("test_http_server.py", {"--tls"});
  ASSERT_NE(server.port(), 0);
  struct Row {
    const char* name;
    const char* host;
    std::optional<DWORD> securityFlags;
    bool reached;
  };
  // The certificate is self-signed and names "localhost" only.
  const Row rows[] = {
      {"no flags: unknown CA refused", "127.0.0.1", std::nullopt, false},
      {"CA ignored, name checked", "127.0.0.1", SECURITY_FLAG_IGNORE_UNKNOWN_CA, false},
      {"name ignored, CA checked", "127.0.0.1", SECURITY_FLAG_IGNORE_CERT_CN_INVALID, false},
      {"the engine's flags", "127.0.0.1", kAllSecurityFlags, true},
      {"CA ignored, matching name", "localhost", SECURITY_FLAG_IGNORE_UNKNOWN_CA, true},
  };
  for (const Row& row : rows) {
    Call call;
    call.host = row.host;
    call.port = server.port();
    call.flags = kSecureFlags;
    call.securityFlags = row.securityFlags;
    Outcome out = Perform(call);
    EXPECT_EQ(out.sent, row.reached) << row.name;
    EXPECT_EQ(RequestLine(out.body), row.reached ? "GET /echo HTTP/1.1" : "") << row.name;
  }
}

TEST_F(CurlWinInetTest, BodiesTravelByteForByteWithTheirLength) {
  static constexpr char kBinary[] = "a=1&b=\0\r\n\xff\x80 end";
  const std::string binary(kBinary, sizeof kBinary - 1);
  const std::string large(2 * 1024 * 1024 + 3, 'L');
  struct Row {
    const char* name;
    std::string verb;
    std::string headers;
    std::string body;
    std::string sentBody;  // what must arrive
  };
  const Row rows[] = {
      {"POST with its content type", "POST", "Content-Type: application/x-www-form-urlencoded", binary, binary},
      {"POST without content type gets none", "POST", "Accept: */*", "x=1", "x=1"},
      {"POST of 2 MiB without Expect", "POST", "Content-Type: text/plain", large, large},
      {"POST with an empty body", "POST", "Accept: */*", "", ""},
      {"HEAD", "HEAD", "Accept: */*", binary, binary},
      {"PUT", "PUT", "Accept: */*", binary, binary},
      {"OPTIONS", "OPTIONS", "Accept: */*", "x=1", "x=1"},
      {"DELETE", "DELETE", "Accept: */*", "x=1", "x=1"},
      {"TRACE", "TRACE", "Accept: */*", "x=1", "x=1"},
      {"CONNECT", "CONNECT", "Accept: */*", "x=1", "x=1"},
      {"GET sends none", "GET", "Accept: */*", "x=1", ""},
  };
  for (const Row& row : rows) {
    Call call = To("/echo/" + row.verb);
    call.verb = row.verb;
    call.headers = row.headers;
    call.body = row.body;
    Outcome out = Perform(call);
    EXPECT_TRUE(out.sent) << row.name;
    const std::vector<std::string> requests = server_.Requests();
    ASSERT_FALSE(requests.empty()) << row.name;
    const std::string& raw = requests.back();
    const std::string head = HeadOf(raw);
    EXPECT_EQ(RequestLine(raw), row.verb + " /echo/" + row.verb + " HTTP/1.1") << row.name;
    EXPECT_EQ(BodyOf(raw) == row.sentBody, true) << row.name;
    const bool lengthExpected = !row.sentBody.empty() || row.verb == "POST";
    EXPECT_EQ(Count(head, "Content-Length: " + std::to_string(row.sentBody.size()) + "\r\n"),
              lengthExpected ? 1u : 0u)
        << row.name;
    EXPECT_EQ(Count(head, "Content-Type:"), Count(row.headers, "Content-Type:")) << row.name;
    EXPECT_EQ(Count(head, "Expect:"), 0u) << row.name;
    EXPECT_EQ(Count(head, "Accept:"), Count(row.headers, "Accept:")) << row.name;
    if (row.verb == "HEAD") {
      EXPECT_EQ(out.body, "") << row.name;
    } else {
      EXPECT_EQ(out.body == raw, true) << row.name;
    }
  }
}

TEST_F(CurlWinInetTest, PlatformCookiesTravelUnlessTurnedOff) {
  auto echoed = [&](DWORD extraFlags) {
    Call call = To("/cookies/echo");
    call.flags |= extraFlags;
    return Perform(call).body;
  };
  auto set = [&](const std::string& name, DWORD extraFlags) {
    Call call = To("/cookies/set?name=" + name + "&value=42");
    call.flags |= extraFlags;
    EXPECT_NE(Perform(call).headers.find("Set-Cookie: " + name + "=42"), std::string::npos);
  };
  set("kept", 0);
  EXPECT_NE(echoed(0).find("\r\nCookie: kept=42\r\n"), std::string::npos);
  EXPECT_EQ(echoed(INTERNET_FLAG_NO_COOKIES).find("Cookie:"), std::string::npos);
  set("unstored", INTERNET_FLAG_NO_COOKIES);
  EXPECT_EQ(echoed(0).find("unstored"), std::string::npos);
}

TEST_F(CurlWinInetTest, RedirectLoopEnds) {
  Outcome out = Perform(To("/loop"));
  EXPECT_EQ(out.body, "");
  // The first request and ten redirects followed; the tenth's answer ends it.
  EXPECT_EQ(server_.Requests().size(), 11u);
}

// A 302 is followed as a GET whatever the verb (libcurl itself would keep
// every verb but POST), without the body and the lines that described it.
TEST_F(CurlWinInetTest, RedirectFollowedAsGetLeavesTheBodyAndItsHeaderLinesBehind) {
  for (const char* verb : {"POST", "PUT", "DELETE"}) {
    const std::size_t before = server_.Requests().size();
    Call call = To("/redirect?to=/echo/landed");
    call.verb = verb;
    call.headers = "Content-Type: text/plain\r\nContent-Language: zh\r\nX-Kept: 1";
    call.body = "form=1";
    Outcome out = Perform(call);
    ASSERT_TRUE(out.sent) << verb;
    const std::vector<std::string> requests = server_.Requests();
    ASSERT_EQ(requests.size(), before + 2) << verb;
    const std::string& first = requests[before];
    const std::string& second = requests[before + 1];
    EXPECT_EQ(RequestLine(first), std::string(verb) + " /redirect?to=/echo/landed HTTP/1.1");
    EXPECT_NE(first.find("\r\nContent-Type: text/plain\r\n"), std::string::npos) << verb;
    EXPECT_EQ(BodyOf(first), "form=1") << verb;
    EXPECT_EQ(out.body, second) << verb;
    EXPECT_EQ(RequestLine(second), "GET /echo/landed HTTP/1.1") << verb;
    EXPECT_EQ(second.find("Content-Type"), std::string::npos) << verb;
    EXPECT_EQ(second.find("Content-Length"), std::string::npos) << verb;
    EXPECT_NE(second.find("\r\nContent-Language: zh\r\nX-Kept: 1\r\n"), std::string::npos) << verb;
    EXPECT_EQ(BodyOf(second), "") << verb;
    EXPECT_NE(out.headers.find("HTTP/1.1 200"), std::string::npos) << verb;
  }
}

TEST_F(CurlWinInetTest, RequestsGoThroughTheForwardProxyAsConfigured) {
  LoopbackServer proxy("forward_proxy.py");
  ASSERT_NE(proxy.port(), 0);
  const std::string proxyAddress = "127.0.0.1:" + std::to_string(proxy.port());
  for (const std::string& text : {"http=" + proxyAddress, proxyAddress}) {
    Call call = To("/echo/proxied");
    call.accessType = INTERNET_OPEN_TYPE_PROXY;
    call.proxy = text;
    Outcome out = Perform(call);
    EXPECT_TRUE(out.sent) << text;
    EXPECT_NE(out.body.find("\r\nVia: 1.1 forward_proxy\r\n"), std::string::npos) << text;
    ASSERT_FALSE(proxy.Requests().empty()) << text;
    EXPECT_EQ(RequestLine(proxy.Requests().back()), "GET " + server_.Url("/echo/proxied") + " HTTP/1.1")
        << text;
  }
}

TEST(CurlWinInetProxy, HttpOnlyProxyLeavesSecureRequestsDirect) {
  LoopbackServer server("test_http_server.py", {"--tls"});
  ASSERT_NE(server.port(), 0);
  Call call;
  call.port = server.port();
  call.flags = kSecureFlags;
  call.accessType = INTERNET_OPEN_TYPE_PROXY;
  call.proxy = "http=127.0.0.1:1";  // nothing listens there
  Outcome out = Perform(call);
  EXPECT_TRUE(out.sent);
  EXPECT_EQ(RequestLine(out.body), "GET /echo HTTP/1.1");
}

TEST_F(CurlWinInetTest, UrlAndHeaderBytesCannotAddLinesOnTheWire) {
  Call call = To(std::string("/echo/a b\r\nX-Injected: 1\t\x7f\xc4\xe3/../c?q=\"<>\\^`{|}~#frag"));
  call.headers = "X-A: 1\nX-Injected: 2\r\n\r\nX-B: 3\rX-Injected: 4\r\nX-Empty: ";
  call.agent = "Probe\r\nX-Injected: 5";
  Outcome out = Perform(call);
  ASSERT_TRUE(out.sent);
  EXPECT_EQ(RequestLine(out.body),
            "GET /echo/a%20b%0D%0AX-Injected:%201%09%7F%C4%E3/../c?q=\"<>\\^`{|}~ HTTP/1.1");
  EXPECT_NE(out.body.find("\r\nX-A: 1 X-Injected: 2\r\n"), std::string::npos);
  EXPECT_NE(out.body.find("\r\nX-B: 3 X-Injected: 4\r\n"), std::string::npos);
  EXPECT_NE(out.body.find("\r\nX-Empty:"), std::string::npos);
  EXPECT_NE(out.body.find("\r\nUser-Agent: Probe  X-Injected: 5\r\n"), std::string::npos);
  EXPECT_EQ(out.body.find("\nX-Injected"), std::string::npos);
  EXPECT_EQ(Count(out.body, "\r\n\r\n"), 1u);
}

TEST_F(CurlWinInetTest, EndlessBodyIsReadAsItStreams) {
  WinInetApi& api = SystemBinding();
  HINTERNET session = api.InternetOpenA(kAgent, INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
  HINTERNET connection = api.InternetConnectA(session, "127.0.0.1", server_.port(), nullptr, nullptr,
                                              INTERNET_SERVICE_HTTP, 0, 0);
  HINTERNET request =
      api.HttpOpenRequestA(connection, "GET", "/endless", "HTTP/1.1", nullptr, nullptr, kPlainFlags, 0);
  // Sending returns with the headers although the body never ends.
  ASSERT_TRUE(api.HttpSendRequestA(request, nullptr, 0, nullptr, 0));
  char buffer[1024];
  std::size_t total = 0;
  for (int i = 0; i < 4096; ++i) {
    DWORD count = 0;
    ASSERT_TRUE(api.InternetReadFile(request, buffer, sizeof buffer, &count));
    ASSERT_GT(count, 0u);
    total += count;
  }
  EXPECT_GE(total, 4096u);
  EXPECT_TRUE(api.InternetCloseHandle(request));
  EXPECT_TRUE(api.InternetCloseHandle(connection));
  EXPECT_TRUE(api.InternetCloseHandle(session));
}

TEST(CurlWinInetHandles, ClosingAParentClosesItsChildrenSafely) {
  WinInetApi& api = SystemBinding();
  HINTERNET session = api.InternetOpenA(kAgent, INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
  HINTERNET connection =
      api.InternetConnectA(session, "127.0.0.1", 9, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0);
  HINTERNET request =
      api.HttpOpenRequestA(connection, "GET", "/", "HTTP/1.1", nullptr, nullptr, kPlainFlags, 0);
  ASSERT_NE(request, nullptr);
  EXPECT_TRUE(api.InternetCloseHandle(session));

  DWORD count = 7;
  char buffer[16];
  DWORD length = sizeof buffer;
  DWORD flags = kAllSecurityFlags;
  EXPECT_FALSE(api.InternetSetOptionA(request, INTERNET_OPTION_SECURITY_FLAGS, &flags, sizeof flags));
  EXPECT_FALSE(api.HttpSendRequestA(request, nullptr, 0, nullptr, 0));
  EXPECT_FALSE(api.InternetReadFile(request, buffer, sizeof buffer, &count));
  EXPECT_EQ(count, 0u);
  EXPECT_FALSE(api.HttpQueryInfoA(request, HTTP_QUERY_RAW_HEADERS_CRLF, buffer, &length, nullptr));
  EXPECT_EQ(api.HttpOpenRequestA(connection, "GET", "/", "HTTP/1.1", nullptr, nullptr, 0, 0), nullptr);
  EXPECT_FALSE(api.InternetCloseHandle(request));
  EXPECT_FALSE(api.InternetCloseHandle(connection));
  EXPECT_FALSE(api.InternetCloseHandle(session));
  EXPECT_FALSE(api.InternetCloseHandle(nullptr));
}

TEST(CurlWinInetHandles, RefusesWhatItCannotServe) {
  WinInetApi& api = SystemBinding();
  EXPECT_EQ(api.InternetOpenA(kAgent, INTERNET_OPEN_TYPE_PROXY, nullptr, "", 0), nullptr);
  EXPECT_EQ(api.InternetOpenA(kAgent, 2, nullptr, nullptr, 0), nullptr);
  HINTERNET session = api.InternetOpenA(kAgent, INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
  EXPECT_EQ(api.InternetConnectA(session, "127.0.0.1", 80, nullptr, nullptr, 1, 0, 0), nullptr)
      << "FTP service";
  EXPECT_EQ(api.InternetConnectA(session, "", 80, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0), nullptr);
  EXPECT_EQ(api.HttpOpenRequestA(session, "GET", "/", "HTTP/1.1", nullptr, nullptr, 0, 0), nullptr)
      << "a session is no connection";
  HINTERNET connection =
      api.InternetConnectA(session, "a.com/x?", 80, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0);
  EXPECT_EQ(api.HttpOpenRequestA(connection, "GET / HTTP/1.1\r\nX:", "/", "HTTP/1.1", nullptr, nullptr, 0, 0),
            nullptr)
      << "verb that would split the request line";
  HINTERNET request = api.HttpOpenRequestA(connection, "GET", "/", "HTTP/1.1", nullptr, nullptr, 0, 0);
  EXPECT_FALSE(api.HttpSendRequestA(request, nullptr, 0, nullptr, 0)) << "host that would change the URL";
  DWORD count = 7;
  char buffer[4];
  EXPECT_FALSE(api.InternetReadFile(request, buffer, sizeof buffer, &count));
  EXPECT_EQ(count, 0u);
  api.InternetCloseHandle(session);
}

}  // namespace
}  // namespace kelvorat::wininet
