#include "http/platform/curl/request_target.h"

#include <gtest/gtest.h>

namespace kelvorat::wininet::curl {
namespace {

TEST(EscapeRequestTarget, EscapesOnlyBytesThatCannotStandInATarget) {
  struct Row {
    const char* name;
    std::string path;
    std::string target;
  };
  const Row rows[] = {
      {"plain path and query", "/a/b?x=1&y=2", "/a/b?x=1&y=2"},
      {"space", "/a b", "/a%20b"},
      {"CR LF cannot end the request line", "/a\r\nX-Injected: 1", "/a%0D%0AX-Injected:%201"},
      {"tab and other controls", std::string("/\t\x01\x1f", 4), "/%09%01%1F"},
      {"DEL and high bytes, upper-case hex", "/\x7f\x80\xc4\xe3\xff", "/%7F%80%C4%E3%FF"},
      {"zero byte", std::string("/a\0b", 4), "/a%00b"},
      {"existing escapes and reserved bytes kept", "/%41%zz!$&'()*+,;=:@[]", "/%41%zz!$&'()*+,;=:@[]"},
      {"dot segments kept", "/a/../b/./c", "/a/../b/./c"},
      {"other printable bytes kept", "/\"<>\\^`{|}~", "/\"<>\\^`{|}~"},
      {"fragment dropped", "/a?q=1#frag ment", "/a?q=1"},
      {"empty path", "", "/"},
      {"path without leading slash", "?q=1", "/?q=1"},
      {"fragment only", "#x", "/"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(EscapeRequestTarget(row.path), row.target) << row.name;
  }
}

TEST(EscapeRequestTarget, NoByteValueSurvivesThatCouldSplitTheLine) {
  for (int b = 0; b < 256; ++b) {
    if (b == '#') continue;
    const std::string target = EscapeRequestTarget(std::string("/") + static_cast<char>(b));
    const bool mustEscape = b <= 0x20 || b >= 0x7F;
    for (unsigned char c : target) {
      EXPECT_TRUE(c > 0x20 && c < 0x7F) << "byte " << b;
    }
    EXPECT_EQ(target.size(), mustEscape ? 4u : 2u) << "byte " << b;
  }
}

TEST(RequestUrl, BuildsSchemeHostPortAndTarget) {
  struct Row {
    const char* name;
    bool secure;
    const char* host;
    std::uint16_t port;
    const char* path;
    const char* url;
  };
  const Row rows[] = {
      {"plain with port", false, "127.0.0.1", 8080, "/x?y", "http://127.0.0.1:8080/x?y"},
      {"port 0 is the default", true, "example.com", 0, "/", "https://example.com/"},
      {"IPv6 gets brackets", false, "::1", 81, "/", "http://[::1]:81/"},
      {"IPv6 in brackets kept", false, "[::1]", 0, "/", "http://[::1]/"},
      {"path escaped", false, "h", 0, "/a b", "http://h/a%20b"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(RequestUrl(row.secure, row.host, row.port, row.path).value_or("(refused)"), row.url)
        << row.name;
  }
}

TEST(RequestUrl, RefusesHostsThatWouldChangeTheUrl) {
  struct Row {
    const char* host;
    const char* reason;
  };
  const Row rows[] = {
      {"", "empty"},
      {"evil.com/x?", "slash ends the authority"},
      {"a@b.com", "user info"},
      {"a.com?q=1", "query in the host"},
      {"a.com#f", "fragment in the host"},
      {"a b.com", "space"},
      {"a\r\nb.com", "line break"},
      {"\xc4\xe3.com", "high bytes"},
      {"[::1", "open bracket"},
      {"[::1]:80", "port inside the host"},
      {"a.com:80", "port inside the host reads as a broken IPv6 address"},
  };
  for (const Row& row : rows) {
    EXPECT_FALSE(RequestUrl(false, row.host, 80, "/").has_value()) << row.reason;
  }
}

}  // namespace
}  // namespace kelvorat::wininet::curl
