// The request engine with every setting at its default: the exact platform
// calls, the body read, the response headers, and the refusal paths.
#include "http/http_request.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "http/platform/wininet.h"
#include "support/recording_wininet.h"

namespace kelvorat {
namespace {

using fakes::Exchange;
using fakes::RecordingWinInet;
using fakes::Refusal;
using fakes::ScriptedResponse;
using namespace wininet;

Bytes ToBytes(std::string_view text) { return Bytes(text.begin(), text.end()); }

class HttpRequestTest : public ::testing::Test {
 protected:
  const Exchange& OnlyExchange() {
    EXPECT_EQ(fake.exchanges().size(), 1u);
    return fake.exchanges().at(0);
  }

  RecordingWinInet fake;
  ScopedWinInet use{fake};
};

TEST_F(HttpRequestTest, DefaultRequestForPlainUrl) {
  fake.SetDefaultResponse(ScriptedResponse::WithBody("hello"));

  EXPECT_EQ(HttpGetText("http://example.com/a/b?q=1"), "hello");

  EXPECT_EQ(fake.CallNames(),
            (std::vector<std::string>{"InternetOpenA", "InternetConnectA", "HttpOpenRequestA",
                                      "InternetSetOptionA", "HttpSendRequestA", "InternetReadFile",
                                      "InternetReadFile", "HttpQueryInfoA", "InternetCloseHandle",
                                      "InternetCloseHandle", "InternetCloseHandle"}));
  const Exchange& ex = OnlyExchange();
  EXPECT_EQ(ex.agent, std::string(kDefaultAgent));
  EXPECT_EQ(ex.accessType, INTERNET_OPEN_TYPE_DIRECT);
  EXPECT_EQ(ex.proxy, std::nullopt);
  EXPECT_EQ(ex.proxyBypass, std::nullopt);
  EXPECT_EQ(ex.openFlags, 0u);

  EXPECT_EQ(ex.host, "example.com");
  EXPECT_EQ(ex.port, 80);
  EXPECT_EQ(ex.userName, std::nullopt);
  EXPECT_EQ(ex.password, std::nullopt);
  EXPECT_EQ(ex.service, INTERNET_SERVICE_HTTP);
  EXPECT_EQ(ex.connectFlags, 0u);
  EXPECT_EQ(ex.connectContext, 0u);

  EXPECT_EQ(ex.verb, "GET");
  EXPECT_EQ(ex.path, "/a/b?q=1");
  EXPECT_EQ(ex.version, "HTTP/1.1");
  EXPECT_EQ(ex.referrer, std::nullopt);
  EXPECT_TRUE(ex.acceptTypesNull);
  EXPECT_EQ(ex.requestFlags,
            INTERNET_FLAG_RELOAD | INTERNET_FLAG_NEED_FILE | INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS);
  EXPECT_EQ(ex.requestContext, 0u);

  ASSERT_EQ(ex.options.size(), 1u);
  EXPECT_EQ(ex.options[0].option, INTERNET_OPTION_SECURITY_FLAGS);
  EXPECT_EQ(ex.options[0].length, 4u);
  EXPECT_EQ(ex.options[0].value, 0x0001F380u);

  const std::string block =
      "Accept: */*\r\nReferer: http://example.com/a/b?q=1\r\nAccept-Language: zh-cn";
  EXPECT_EQ(ex.sendCount, 1);
  EXPECT_EQ(ex.headers, block);
  EXPECT_EQ(ex.headersLength, block.size());
  EXPECT_EQ(ex.body, std::nullopt);
  EXPECT_EQ(ex.bodyLength, 0u);

  EXPECT_EQ(ex.readSizes, (std::vector<DWORD>{1024, 1024}));
  EXPECT_EQ(ex.readCounts, (std::vector<DWORD>{5, 0}));

  ASSERT_EQ(ex.queries.size(), 1u);
  EXPECT_EQ(ex.queries[0].infoLevel, HTTP_QUERY_RAW_HEADERS_CRLF);
  EXPECT_EQ(ex.queries[0].bufferLength, 5000u);
  EXPECT_FALSE(ex.queries[0].bufferNull);
  EXPECT_TRUE(ex.queries[0].indexNull);

  // Newest first: request, connection, session.
  EXPECT_EQ(fake.closed(), (std::vector<HINTERNET>{ex.request, ex.connection, ex.session}));
  EXPECT_TRUE(fake.OpenHandles().empty());
  EXPECT_TRUE(fake.misuse().empty());
}

TEST_F(HttpRequestTest, DefaultRequestForSecureUrl) {
  EXPECT_EQ(HttpGetText("https://secure.example.com/login?next=%2F"), "");

  const Exchange& ex = OnlyExchange();
  EXPECT_EQ(ex.accessType, INTERNET_OPEN_TYPE_DIRECT);
  EXPECT_EQ(ex.host, "secure.example.com");
  EXPECT_EQ(ex.port, 443);
  EXPECT_EQ(ex.path, "/login?next=%2F");
  EXPECT_EQ(ex.requestFlags, INTERNET_FLAG_RELOAD | INTERNET_FLAG_NEED_FILE | INTERNET_FLAG_SECURE);
  // The security flags go on a secure request just the same.
  ASSERT_EQ(ex.options.size(), 1u);
  EXPECT_EQ(ex.options[0].value, 0x0001F380u);
  EXPECT_EQ(ex.headers,
            "Accept: */*\r\nReferer: https://secure.example.com/login?next=%2F\r\n"
            "Accept-Language: zh-cn");
  EXPECT_TRUE(fake.OpenHandles().empty());
}

TEST_F(HttpRequestTest, SecureFlagFollowsTheSchemeCaseInsensitively) {
  struct Case {
    const char* name;
    const char* url;
    bool secure;
  };
  const Case cases[] = {
      {"lower case", "https://a.example/", true},
      {"upper case", "HTTPS://A.EXAMPLE/X", true},
      {"mixed case", "hTtPs://a.example", true},
      {"plain", "http://a.example/", false},
      {"one slash only", "https:/a.example/", false},
      {"shorter than the scheme", "https:/", false},
      {"no scheme", "a.example/https://", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fake.ClearRecords();
    (void)HttpRequest(c.url);
    ASSERT_EQ(fake.exchanges().size(), 1u);
    const DWORD flags = fake.exchanges()[0].requestFlags;
    EXPECT_EQ((flags & INTERNET_FLAG_SECURE) != 0, c.secure);
    EXPECT_EQ((flags & INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS) != 0, !c.secure);
  }
}

TEST_F(HttpRequestTest, UpperCaseSecureUrlKeepsCallersCaseInPathAndReferer) {
  (void)HttpGetText("HTTPS://Example.COM/Path/File?Q=A%20b&x=1");
  const Exchange& ex = OnlyExchange();
  EXPECT_EQ(ex.host, "example.com");
  EXPECT_EQ(ex.port, 443);
  EXPECT_EQ(ex.path, "/Path/File?Q=A%20b&x=1");
  EXPECT_EQ(ex.headers,
            "Accept: */*\r\nReferer: HTTPS://Example.COM/Path/File?Q=A%20b&x=1\r\n"
            "Accept-Language: zh-cn");
}

TEST_F(HttpRequestTest, ExplicitPortReachesTheConnection) {
  (void)HttpGetText("http://127.0.0.1:18080/k4tq7mbh/wxcheck?url=a.com");
  const Exchange& ex = OnlyExchange();
  EXPECT_EQ(ex.host, "127.0.0.1");
  EXPECT_EQ(ex.port, 18080);
  EXPECT_EQ(ex.path, "/k4tq7mbh/wxcheck?url=a.com");
}

TEST_F(HttpRequestTest, LongBodyArrivesThroughPiecesInOrder) {
  Bytes body(3000);
  for (std::size_t i = 0; i < body.size(); ++i) body[i] = static_cast<std::uint8_t>(i % 251);
  ScriptedResponse response;
  response.body = body;
  fake.SetDefaultResponse(response);

  EXPECT_EQ(HttpRequest("http://example.com/big"), body);
  const Exchange& ex = OnlyExchange();
  EXPECT_EQ(ex.readSizes, (std::vector<DWORD>{1024, 1024, 1024, 1024}));
  EXPECT_EQ(ex.readCounts, (std::vector<DWORD>{1024, 1024, 952, 0}));
}

TEST_F(HttpRequestTest, ShortPiecesAreJoinedUntilTheFirstEmptyRead) {
  Bytes body(3000);
  for (std::size_t i = 0; i < body.size(); ++i) body[i] = static_cast<std::uint8_t>(i * 7);
  ScriptedResponse response;
  response.body = body;
  response.maxPiece = 100;
  fake.SetDefaultResponse(response);

  EXPECT_EQ(HttpRequest("http://example.com/big"), body);
  EXPECT_EQ(OnlyExchange().readCounts.size(), 31u);
}

TEST_F(HttpRequestTest, ZeroByteEndsTheTextButNotTheBytes) {
  const std::string body("0123456789\0abc", 14);
  fake.SetDefaultResponse(ScriptedResponse::WithBody(body));

  EXPECT_EQ(HttpGetText("http://example.com/"), "0123456789");
  EXPECT_EQ(HttpRequest("http://example.com/"), ToBytes(body));
}

TEST_F(HttpRequestTest, ErrorPagesAndEmptyBodiesAreReturnedAsTheyCame) {
  fake.RespondTo("/missing", ScriptedResponse::WithBody("not here", "HTTP/1.1 404 Not Found\r\n\r\n"));
  fake.RespondTo("/empty", ScriptedResponse::WithBody("", "HTTP/1.1 204 No Content\r\n\r\n"));
  ScriptedResponse failedSend = ScriptedResponse::WithBody("never read");
  failedSend.sendFails = true;
  fake.RespondTo("/unsent", failedSend);

  EXPECT_EQ(HttpGetText("http://example.com/missing"), "not here");
  EXPECT_EQ(HttpGetText("http://example.com/empty"), "");
  EXPECT_EQ(HttpRequest("http://example.com/unsent"), Bytes{});
  EXPECT_EQ(fake.exchanges().at(2).readCounts, (std::vector<DWORD>{0}));
  EXPECT_TRUE(fake.OpenHandles().empty());
}

// A connection that breaks in the middle of the body (reset, time-out, a
// body over the limit) leaves no answer: part of it must not pass for all.
TEST_F(HttpRequestTest, BodyCutShortByAFailedReadIsNoAnswer) {
  const std::string raw = "HTTP/1.1 200 OK\r\nSet-Cookie: sid=42\r\n\r\n";
  ScriptedResponse cut = ScriptedResponse::WithBody(std::string(3000, 'x'), raw);
  cut.cutOff = true;
  fake.SetDefaultResponse(cut);
  Text responseHeaders, receivedCookies;

  EXPECT_EQ(HttpRequest("http://example.com/",
                        {.receivedCookies = &receivedCookies, .responseHeaders = &responseHeaders}),
            Bytes{});
  EXPECT_EQ(OnlyExchange().readCounts, (std::vector<DWORD>{1024, 1024, 952, 0}));
  // What did arrive is still reported: the headers and their cookies.
  EXPECT_EQ(responseHeaders, raw);
  EXPECT_EQ(receivedCookies, "sid=42");
  EXPECT_TRUE(fake.OpenHandles().empty());
  EXPECT_EQ(HttpGetText("http://example.com/"), "");
}

TEST_F(HttpRequestTest, ResponseHeadersAreTheRawBlock) {
  const std::string raw = "HTTP/1.1 200 OK\r\nContent-Length: 2\r\nX-A: b\r\n\r\n";
  fake.SetDefaultResponse(ScriptedResponse::WithBody("ok", raw));
  Text responseHeaders = "old";
  (void)HttpRequest("http://example.com/", {.responseHeaders = &responseHeaders});
  EXPECT_EQ(responseHeaders, raw);
}

TEST_F(HttpRequestTest, HeaderBlockThatJustFitsIsReturnedWhole) {
  // 4999 bytes and the terminating zero fill the 5000-byte buffer exactly.
  std::string raw = "HTTP/1.1 200 OK\r\nSet-Cookie: a=1\r\nX-Pad: ";
  raw += std::string(4999 - raw.size() - 4, 'p');
  raw += "\r\n\r\n";
  ASSERT_EQ(raw.size(), 4999u);
  fake.SetDefaultResponse(ScriptedResponse::WithBody("", raw));

  Text responseHeaders, receivedCookies;
  (void)HttpRequest("http://example.com/",
                    {.receivedCookies = &receivedCookies, .responseHeaders = &responseHeaders});
  EXPECT_EQ(responseHeaders, raw);
  EXPECT_EQ(receivedCookies, "a=1");
}

TEST_F(HttpRequestTest, FailedHeaderQueryLeavesSpacesAndNoCookies) {
  std::string tooLong = "HTTP/1.1 200 OK\r\nSet-Cookie: a=1\r\nX-Pad: ";
  tooLong += std::string(5000 - tooLong.size() - 4, 'p');
  tooLong += "\r\n\r\n";
  ASSERT_EQ(tooLong.size(), 5000u);  // its zero byte no longer fits
  ScriptedResponse refused = ScriptedResponse::WithBody("", "HTTP/1.1 200 OK\r\nSet-Cookie: b=2\r\n\r\n");
  refused.headerQueryFails = true;

  for (const ScriptedResponse& response : {ScriptedResponse::WithBody("body", tooLong), refused}) {
    fake.QueueResponse(response);
    Text responseHeaders = "old", receivedCookies = "old";
    (void)HttpRequest("http://example.com/",
                      {.receivedCookies = &receivedCookies, .responseHeaders = &responseHeaders});
    EXPECT_EQ(responseHeaders, std::string(5000, ' '));
    EXPECT_EQ(receivedCookies, "");
  }
}

TEST_F(HttpRequestTest, RefusalClosesExactlyWhatWasOpened) {
  struct Case {
    const char* name;
    Refusal refusal;
    std::vector<std::string> calls;
    std::size_t closedCount;
  };
  const Case cases[] = {
      {"session", Refusal::kSession, {"InternetOpenA"}, 0},
      {"connection",
       Refusal::kConnection,
       {"InternetOpenA", "InternetConnectA", "InternetCloseHandle"},
       1},
      {"request",
       Refusal::kRequest,
       {"InternetOpenA", "InternetConnectA", "HttpOpenRequestA", "InternetCloseHandle",
        "InternetCloseHandle"},
       2},
  };
  fake.SetDefaultResponse(ScriptedResponse::WithBody("body", "HTTP/1.1 200 OK\r\nSet-Cookie: n=1\r\n\r\n"));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fake.ClearRecords();
    fake.SetRefusal(c.refusal);

    // The caller's variables: only the header names may change.
    Text cookies = "a=1", receivedCookies = "r", headers = "content-type: text/plain",
         responseHeaders = "h";
    Bytes bytesBody;
    const Bytes result = HttpRequest("http://example.com/form",
                                     {.method = kPost,
                                      .textBody = "x=1",
                                      .cookies = &cookies,
                                      .receivedCookies = &receivedCookies,
                                      .headers = &headers,
                                      .responseHeaders = &responseHeaders,
                                      .bytesBody = &bytesBody});
    EXPECT_EQ(result, Bytes{});
    EXPECT_EQ(fake.CallNames(), c.calls);
    ASSERT_EQ(fake.closed().size(), c.closedCount);
    const Exchange& ex = fake.exchanges().at(0);
    if (c.closedCount == 2) {
      EXPECT_EQ(fake.closed(), (std::vector<HINTERNET>{ex.connection, ex.session}));
    } else if (c.closedCount == 1) {
      EXPECT_EQ(fake.closed(), std::vector<HINTERNET>{ex.session});
    }
    EXPECT_TRUE(fake.OpenHandles().empty());
    EXPECT_TRUE(fake.misuse().empty());

    EXPECT_EQ(cookies, "a=1");
    EXPECT_EQ(receivedCookies, "r");
    EXPECT_EQ(headers, "Content-Type: text/plain");
    EXPECT_EQ(responseHeaders, "h");
    EXPECT_EQ(bytesBody, Bytes{});
  }
}

TEST_F(HttpRequestTest, RefusedRequestGivesEmptyText) {
  fake.SetDefaultResponse(ScriptedResponse::WithBody("body"));
  fake.SetRefusal(Refusal::kConnection);
  EXPECT_EQ(HttpGetText("http://example.com/"), "");
}

TEST_F(HttpRequestTest, EveryCallOpensFreshHandles) {
  (void)HttpGetText("http://example.com/1");
  (void)HttpGetText("http://example.com/2");
  EXPECT_EQ(fake.Targets(), (std::vector<std::string>{"example.com:80/1", "example.com:80/2"}));
  ASSERT_EQ(fake.exchanges().size(), 2u);
  EXPECT_NE(fake.exchanges()[0].session, fake.exchanges()[1].session);
  EXPECT_NE(fake.exchanges()[0].request, fake.exchanges()[1].request);
  EXPECT_EQ(fake.closed().size(), 6u);
  EXPECT_TRUE(fake.OpenHandles().empty());
}

// Unit programs put no binding in place: until a program picks one, and again
// once the one it picked is gone, every request is refused and ends empty.
TEST(HttpRequestWithoutBinding, EveryRequestEndsEmpty) {
  auto requestsEndEmpty = [] {
    Text cookies = "a=1", receivedCookies = "old", responseHeaders;
    Bytes bytesBody = ToBytes("xy");
    EXPECT_EQ(HttpGetText("http://127.0.0.1:9/echo"), "");
    EXPECT_EQ(HttpRequest("https://example.com/", {.method = kPost,
                                                   .cookies = &cookies,
                                                   .receivedCookies = &receivedCookies,
                                                   .responseHeaders = &responseHeaders,
                                                   .bytesBody = &bytesBody,
                                                   .proxy = "127.0.0.1:9"}),
              Bytes{});
    EXPECT_EQ(cookies, "a=1");
  };
  requestsEndEmpty();
  {
    RecordingWinInet fake;
    fake.SetDefaultResponse(ScriptedResponse::WithBody("hello"));
    ScopedWinInet use{fake};
    EXPECT_EQ(HttpGetText("http://example.com/"), "hello");
  }
  requestsEndEmpty();
}

}  // namespace
}  // namespace kelvorat
