// The request engine's optional settings: methods and bodies, the caller's
// agent, proxy, cookies sent, flags, header switches, and the cookies collected
// from the response and merged.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "http/http_request.h"
#include "http/platform/wininet.h"
#include "support/recording_wininet.h"

namespace kelvorat {
namespace {

using fakes::Exchange;
using fakes::RecordingWinInet;
using fakes::ScriptedResponse;
using namespace wininet;

Bytes ToBytes(std::string_view text) { return Bytes(text.begin(), text.end()); }

constexpr const char* kUrl = "http://example.com/form";
constexpr const char* kDefaultBlock =
    "Accept: */*\r\nReferer: http://example.com/form\r\nAccept-Language: zh-cn";
constexpr DWORD kPlainFlags =
    INTERNET_FLAG_RELOAD | INTERNET_FLAG_NEED_FILE | INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS;

class HttpRequestOptionsTest : public ::testing::Test {
 protected:
  // Runs one request and returns what the platform saw of it.
  Exchange Run(std::string_view url, const HttpRequestOptions& options) {
    fake.ClearRecords();
    (void)HttpRequest(url, options);
    EXPECT_EQ(fake.exchanges().size(), 1u);
    EXPECT_TRUE(fake.OpenHandles().empty());
    return fake.exchanges().at(0);
  }

  RecordingWinInet fake;
  ScopedWinInet use{fake};
};

TEST_F(HttpRequestOptionsTest, MethodNamesAndBodies) {
  struct Case {
    const char* name;
    int method;
    const char* verb;
    bool bodySent;
  };
  const Case cases[] = {
      {"GET never carries a body", kGet, "GET", false},
      {"POST", kPost, "POST", true},
      {"HEAD carries the body", kHead, "HEAD", true},
      {"PUT", kPut, "PUT", true},
      {"OPTIONS", kOptions, "OPTIONS", true},
      {"DELETE", kDelete, "DELETE", true},
      {"TRACE", kTrace, "TRACE", true},
      {"CONNECT", kConnect, "CONNECT", true},
      {"8 is out of range", 8, "GET", false},
      {"9 is out of range", 9, "GET", false},
      {"-1 is out of range", -1, "GET", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Bytes bytesBody;
    const Exchange ex = Run(kUrl, {.method = c.method, .textBody = "a=1", .bytesBody = &bytesBody});
    EXPECT_EQ(ex.verb, c.verb);
    if (c.bodySent) {
      EXPECT_EQ(ex.body, ToBytes("a=1"));
      EXPECT_EQ(ex.bodyLength, 3u);
      EXPECT_EQ(bytesBody, ToBytes("a=1"));  // the caller's variable receives the bytes sent
    } else {
      EXPECT_EQ(ex.body, std::nullopt);
      EXPECT_EQ(ex.bodyLength, 0u);
      EXPECT_EQ(bytesBody, Bytes{});
    }
    // Only POST gets the default content type.
    const bool contentType = ex.headers->find("Content-Type:") != std::string::npos;
    EXPECT_EQ(contentType, c.method == kPost);
  }
}

TEST_F(HttpRequestOptionsTest, PostCompletesAnEmptyBlockWithContentType) {
  Text headers;
  const Exchange ex = Run(kUrl, {.method = kPost, .headers = &headers});
  const std::string expected =
      std::string(kDefaultBlock) + "\r\nContent-Type: application/x-www-form-urlencoded";
  EXPECT_EQ(ex.headers, expected);
  EXPECT_EQ(headers, expected);  // the caller holds the block as sent
  EXPECT_EQ(ex.body, std::nullopt);  // an empty body goes as null
}

TEST_F(HttpRequestOptionsTest, PresentHeadersAreKeptAsTheyAre) {
  struct Case {
    const char* name;
    const char* headers;
    bool normalize;
    const char* sent;
  };
  const Case cases[] = {
      {"content type in any case, normalized", "content-type: text/plain", true,
       "Content-Type: text/plain\r\nAccept: */*\r\nReferer: http://example.com/form\r\n"
       "Accept-Language: zh-cn"},
      {"content type in capitals, not normalized", "CONTENT-TYPE: text/plain", false,
       "CONTENT-TYPE: text/plain\r\nAccept: */*\r\nReferer: http://example.com/form\r\n"
       "Accept-Language: zh-cn"},
      {"own accept, referer and language", "accept: text/html\r\nreferer: http://r/\r\naccept-language: en",
       true, "Accept: text/html\r\nReferer: http://r/\r\nAccept-Language: en\r\n"
             "Content-Type: application/x-www-form-urlencoded"},
      {"names found anywhere, not only at a line start", "X-Note: Accept: Referer: Accept-Language: Content-Type:",
       true, "X-Note: Accept: Referer: Accept-Language: Content-Type:"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Text headers = c.headers;
    const Exchange ex =
        Run(kUrl, {.method = kPost, .headers = &headers, .normalizeHeaders = c.normalize});
    EXPECT_EQ(ex.headers, c.sent);
    EXPECT_EQ(headers, c.sent);
  }
}

TEST_F(HttpRequestOptionsTest, BytesBodyWinsOverTextBody) {
  Bytes bytesBody = {0x01, 0x00, 0xFF};
  const Exchange ex = Run(kUrl, {.method = kPost, .textBody = "a=1", .bytesBody = &bytesBody});
  EXPECT_EQ(ex.body, (Bytes{0x01, 0x00, 0xFF}));
  EXPECT_EQ(ex.bodyLength, 3u);
  EXPECT_EQ(bytesBody, (Bytes{0x01, 0x00, 0xFF}));
}

TEST_F(HttpRequestOptionsTest, GetLeavesTheBodyVariableAlone) {
  Bytes bytesBody = {0x61};
  const Exchange ex = Run(kUrl, {.textBody = "a=1", .bytesBody = &bytesBody});
  EXPECT_EQ(ex.body, std::nullopt);
  EXPECT_EQ(bytesBody, Bytes{0x61});
}

TEST_F(HttpRequestOptionsTest, AgentFromTheCallersHeaders) {
  struct Case {
    const char* name;
    const char* headers;
    bool normalize;
    std::optional<std::string> agent;
  };
  const Case cases[] = {
      {"no user agent line", "X-A: 1", true, std::string(kDefaultAgent)},
      {"single line", "User-Agent: Probe/1.0", true, "Probe/1.0"},
      {"lower case, normalized first", "user-agent: Probe/1.0", true, "Probe/1.0"},
      {"lower case single line through the fallback", "user-agent: Probe/1.0", false, "Probe/1.0"},
      {"lower case second line through the fallback", "Accept: text/html\r\nuser-agent: Probe/1.0",
       false, "text/html\r\nuser-agent: Probe/1.0"},
      {"among other lines", "Accept: */*\r\nUser-Agent:   Probe/2.0  \r\nX-A: 1", true, "Probe/2.0"},
      {"empty agent goes as null", "User-Agent: ", false, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Text headers = c.headers;
    const Exchange ex = Run(kUrl, {.headers = &headers, .normalizeHeaders = c.normalize});
    EXPECT_EQ(ex.agent, c.agent);
    // The caller's lines travel with the other headers.
    EXPECT_EQ(FindText(*ex.headers, c.headers, 1, true), 1);
  }
}

TEST_F(HttpRequestOptionsTest, ProxyText) {
  struct Case {
    const char* name;
    const char* url;
    const char* proxyText;
  };
  const Case cases[] = {
      {"plain URL", "http://example.com/", "http=proxy.local:3128"},
      {"secure URL", "https://example.com/", "proxy.local:3128"},
      {"secure URL in capitals", "HTTPS://example.com/", "proxy.local:3128"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Exchange ex = Run(c.url, {.proxy = "proxy.local:3128"});
    EXPECT_EQ(ex.accessType, INTERNET_OPEN_TYPE_PROXY);
    EXPECT_EQ(ex.proxy, c.proxyText);
    EXPECT_EQ(ex.proxyBypass, "");  // empty, not null
    EXPECT_EQ(ex.openFlags, 0u);
    EXPECT_EQ(ex.agent, std::string(kDefaultAgent));
  }
}

TEST_F(HttpRequestOptionsTest, CookieLineAndFlags) {
  struct Case {
    const char* name;
    std::optional<std::string> cookies;  // nullopt: not supplied
    bool completeHeaders;
    bool noRedirect;
    const char* sent;  // null: no header block
    DWORD flags;
  };
  const std::string block = kDefaultBlock;
  const Case cases[] = {
      {"not supplied", std::nullopt, true, false, kDefaultBlock, kPlainFlags},
      {"cookie string", "a=1; b=2", true, false, "Accept: */*\r\nReferer: http://example.com/form\r\n"
       "Accept-Language: zh-cn\r\nCookie: a=1; b=2", kPlainFlags | INTERNET_FLAG_NO_COOKIES},
      {"whole cookie line", "Cookie: a=1", true, false, "Accept: */*\r\nReferer: http://example.com/form\r\n"
       "Accept-Language: zh-cn\r\nCookie: a=1", kPlainFlags | INTERNET_FLAG_NO_COOKIES},
      {"supplied empty", "", true, false, kDefaultBlock, kPlainFlags | INTERNET_FLAG_NO_COOKIES},
      {"completion off", "a=1", false, false, "\r\nCookie: a=1", kPlainFlags | INTERNET_FLAG_NO_COOKIES},
      {"completion off, nothing to send", std::nullopt, false, false, nullptr, kPlainFlags},
      {"no redirect", std::nullopt, true, true, kDefaultBlock,
       kPlainFlags | INTERNET_FLAG_NO_AUTO_REDIRECT},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Text cookies = c.cookies.value_or("");
    const Exchange ex = Run(kUrl, {.cookies = c.cookies ? &cookies : nullptr,
                                   .noRedirect = c.noRedirect,
                                   .completeHeaders = c.completeHeaders});
    if (c.sent == nullptr) {
      EXPECT_EQ(ex.headers, std::nullopt);
    } else {
      EXPECT_EQ(ex.headers, c.sent);
    }
    EXPECT_EQ(ex.headersLength, c.sent == nullptr ? 0u : std::string(c.sent).size());
    EXPECT_EQ(ex.requestFlags, c.flags);
  }
}

TEST_F(HttpRequestOptionsTest, CompletionOffSendsTheBlockAsGiven) {
  Text headers = "x-test: 1";
  const Exchange ex = Run(kUrl, {.method = kPost, .headers = &headers, .completeHeaders = false});
  EXPECT_EQ(ex.headers, "X-Test: 1");
  EXPECT_EQ(headers, "X-Test: 1");
}

TEST_F(HttpRequestOptionsTest, ReceivedCookiesFromSetCookieLines) {
  struct Case {
    const char* name;
    const char* raw;
    const char* received;
  };
  const Case cases[] = {
      {"attributes dropped, order kept",
       "HTTP/1.1 200 OK\r\nSet-Cookie: sid=42; Path=/; HttpOnly\r\nSet-Cookie: lang=en\r\n\r\n",
       "sid=42; lang=en"},
      {"lower-case name not collected", "HTTP/1.1 200 OK\r\nset-cookie: x=1\r\n\r\n", ""},
      {"no Set-Cookie line", "HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n", ""},
      {"empty values give empty items", "HTTP/1.1 200 OK\r\nSet-Cookie: ;\r\nSet-Cookie: ;\r\n\r\n",
       "; "},
      {"spaces trimmed", "HTTP/1.1 200 OK\r\nSet-Cookie:    a=1   \r\nSet-Cookie:  b=2 ; path=/\r\n\r\n",
       "a=1; b=2"},
      {"name must stand before the first ': '", "HTTP/1.1 200 OK\r\nX-Set-Cookie: c=3\r\n\r\n", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fake.SetDefaultResponse(ScriptedResponse::WithBody("", c.raw));
    Text receivedCookies = "old", responseHeaders;
    (void)Run(kUrl, {.receivedCookies = &receivedCookies, .responseHeaders = &responseHeaders});
    EXPECT_EQ(receivedCookies, c.received);
    EXPECT_EQ(responseHeaders, c.raw);
  }
}

TEST_F(HttpRequestOptionsTest, MergeIntoTheCallersCookies) {
  fake.SetDefaultResponse(ScriptedResponse::WithBody(
      "", "HTTP/1.1 200 OK\r\nSet-Cookie: a=3; Path=/\r\nSet-Cookie: c=deleted\r\n\r\n"));

  Text cookies = "a=1; b=2; c=9", receivedCookies;
  (void)Run(kUrl, {.cookies = &cookies, .receivedCookies = &receivedCookies});
  EXPECT_EQ(cookies, "a=3; b=2");
  EXPECT_EQ(receivedCookies, "a=3; b=2");

  // The same variable passed again carries the merged cookies.
  const Exchange again = Run(kUrl, {.cookies = &cookies});
  EXPECT_NE(again.headers->find("\r\nCookie: a=3; b=2"), std::string::npos);
}

// Found by fuzzing (fuzz/corpus/set_cookie_fuzz/regression-stray-lines-and-lead-bytes):
// stray lines and control bytes around the Set-Cookie lines, and a value that
// ends in lead bytes, which must not take the "; " that follows it.
TEST_F(HttpRequestOptionsTest, MergeOfAHeaderBlockWithStrayLinesAndLeadBytes) {
  ScriptedResponse response = ScriptedResponse::WithBody(
      "g=en\r\n\r\n",
      "HTTP/1\x01HTTP/1.1 200 OK\r\nset-cookie: x=4\r\nSet-Cookie: ;\r\nS\r\nset-cookie: x=2\x13"
      "HTTP/1\x13HTTP/1.1 200 OK\r\nSet-Cookie: sid=42;LPath=/; HttpOnly\r\nSet-Cookie: lan\xFF\xFF\xFF");
  response.maxPiece = 1;
  fake.SetDefaultResponse(response);
  Text cookies = "body", receivedCookies = "stale", headers = "a=1; sid=deleted";
  (void)Run("http://a.example/p", {.cookies = &cookies, .receivedCookies = &receivedCookies, .headers = &headers});
  EXPECT_EQ(cookies, "; sid=42; lan\xFF\xFF\xFF; body");
  EXPECT_EQ(receivedCookies, cookies);
  EXPECT_EQ(headers, "Accept: */*\r\nReferer: http://a.example/p\r\nAccept-Language: zh-cn\r\nCookie: body");
}

TEST_F(HttpRequestOptionsTest, MergeOffKeepsBothSidesApart) {
  fake.SetDefaultResponse(
      ScriptedResponse::WithBody("", "HTTP/1.1 200 OK\r\nSet-Cookie: a=3; Path=/\r\n\r\n"));
  Text cookies = "a=1; b=2", receivedCookies;
  (void)Run(kUrl, {.cookies = &cookies, .receivedCookies = &receivedCookies, .mergeReceived = false});
  EXPECT_EQ(cookies, "a=1; b=2");
  EXPECT_EQ(receivedCookies, "a=3");
}

TEST_F(HttpRequestOptionsTest, SuppliedEmptyCookiesStillMerge) {
  fake.SetDefaultResponse(
      ScriptedResponse::WithBody("", "HTTP/1.1 200 OK\r\nSet-Cookie: sid=42; Path=/\r\n\r\n"));
  Text cookies, receivedCookies;
  (void)Run(kUrl, {.cookies = &cookies, .receivedCookies = &receivedCookies});
  EXPECT_EQ(cookies, "sid=42");
  EXPECT_EQ(receivedCookies, "sid=42");
}

TEST_F(HttpRequestOptionsTest, WithoutSuppliedCookiesNothingIsMerged) {
  fake.SetDefaultResponse(
      ScriptedResponse::WithBody("", "HTTP/1.1 200 OK\r\nSet-Cookie: sid = 42\r\n\r\n"));
  Text receivedCookies;
  (void)Run(kUrl, {.receivedCookies = &receivedCookies});
  EXPECT_EQ(receivedCookies, "sid = 42");  // the merge would have removed the spaces
}

TEST_F(HttpRequestOptionsTest, FailedHeaderQueryMergesAnEmptySet) {
  ScriptedResponse response =
      ScriptedResponse::WithBody("", "HTTP/1.1 200 OK\r\nSet-Cookie: a=3\r\n\r\n");
  response.headerQueryFails = true;
  fake.SetDefaultResponse(response);
  Text cookies = "a=1; b = 2", receivedCookies = "old";
  (void)Run(kUrl, {.cookies = &cookies, .receivedCookies = &receivedCookies});
  EXPECT_EQ(cookies, "a=1; b=2");
  EXPECT_EQ(receivedCookies, "a=1; b=2");
}

}  // namespace
}  // namespace kelvorat
