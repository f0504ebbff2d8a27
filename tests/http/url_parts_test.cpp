// Host, port and path of URLs, odd URLs included: these are plain text rules,
// not a URL parser.
#include "http/url_parts.h"

#include <climits>
#include <vector>

#include <gtest/gtest.h>

namespace kelvorat {
namespace {

struct HostRow {
  const char* name;
  std::string url;
  bool rootOnly, keepPort;
  std::optional<int> dotCount;
  std::string expected;
};

void CheckHosts(const std::vector<HostRow>& rows) {
  for (const HostRow& row : rows) {
    EXPECT_EQ(UrlGetHost(row.url, row.rootOnly, row.keepPort, row.dotCount), row.expected)
        << row.name;
  }
}

TEST(UrlGetHost, StandardMode) {
  CheckHosts({
      {"empty url", "", false, false, {}, ""},
      {"lower-cased", "http://www.Example.COM/Path", false, false, {}, "www.example.com"},
      {"upper-case https scheme", "HTTPS://A.B/X", false, false, {}, "a.b"},
      {"no scheme", "a.b/x/y", false, false, {}, "a.b"},
      {"no slash at all", "a.b", false, false, {}, "a.b"},
      {"port dropped", "http://a.b:8080/x", false, false, {}, "a.b"},
      {"port kept", "http://a.b:8080/x", false, true, {}, "a.b:8080"},
      {"query right after host stays", "http://a.b?q=1", false, false, {}, "a.b?q=1"},
      {"inner http:// wins without scheme", "a.b/?u=http://c.d/e", false, false, {}, "c.d"},
      {"user info gives user name", "http://user:pw@h.com/", false, false, {}, "user"},
      {"user info with keepPort", "http://user:pw@h.com/", false, true, {}, "user:pw@h.com"},
      {"ipv6 literal gives its bracket", "http://[::1]:8080/", false, false, {}, "["},
      {"slash right after scheme", "http:///x", false, false, {}, ""},
      {"rootOnly last two labels", "http://x.a.b.c/", true, false, {}, "b.c"},
      {"rootOnly single label", "http://localhost/", true, false, {}, "localhost"},
      {"rootOnly ipv4", "http://192.168.1.20/", true, false, {}, "1.20"},
      {"rootOnly final dot dropped", "http://a.b./", true, false, {}, "a.b"},
      {"rootOnly port travels with last label", "http://x.a.b:81/", true, true, {}, "a.b:81"},
      {"rootOnly port dropped", "http://x.a.b:81/", true, false, {}, "a.b"},
      // Found by fuzzing (fuzz/corpus/url_parts_fuzz/regression-lead-byte-hides-port-colon):
      // the last 0xFF takes the ':' as its second byte, so there is no port to drop.
      {"lead byte hides the port colon", "S\xFF\xFF\xFF\xFF\xFF:tB.\x01\x01", true, false, {},
       "s\xFF\xFF\xFF\xFF\xFF:tb.\x01\x01"},
  });
}

TEST(UrlGetHost, DotCountMode) {
  const std::string labels = "a.b.c.d.e";
  CheckHosts({
      {"0 rootOnly", labels, true, false, 0, "e"},
      {"0", labels, false, false, 0, "d.e"},
      {"1 rootOnly", labels, true, false, 1, "d.e"},
      {"1", labels, false, false, 1, "c.d.e"},
      {"2 rootOnly", labels, true, false, 2, "c.d.e"},
      {"2", labels, false, false, 2, "b.c.d.e"},
      {"3 rootOnly", labels, true, false, 3, "b.c.d.e"},
      {"3 keeps all five labels", labels, false, false, 3, labels},
      {"4 rootOnly whole", labels, true, false, 4, labels},
      {"4 whole", labels, false, false, 4, labels},
      {"negative acts as 0", labels, false, false, -7, "d.e"},
      {"INT_MIN acts as 0", labels, true, false, INT_MIN, "e"},
      {"huge count whole", labels, false, false, INT_MAX, labels},
      {"huge count rootOnly whole", labels, true, false, INT_MAX, labels},
      // Presence selects the mode: 0 is not the same as absent.
      {"present 0 differs from absent", "www.a.b", true, false, 0, "b"},
      {"dot in the last byte never counted", "a.b.c.", true, false, 0, "c."},
      {"schemes removed anywhere", "HTTP://a.b.c/?u=http://x", false, false, 0, "b.c"},
      {"https removed", "https://www.a.b/x", false, false, 0, "a.b"},
      {"port kept on last label", "http://w.a.b:81/", false, true, 0, "a.b:81"},
      {"port dropped", "http://w.a.b:81/", true, false, 0, "b"},
      {"empty url", "", false, false, 3, ""},
  });
}

TEST(UrlGetPort, Cases) {
  struct Row {
    const char* name;
    std::string url;
    std::int32_t expected;
  };
  const Row rows[] = {
      {"empty url", "", 80},
      {"http default", "http://a.b/", 80},
      {"upper-case https default", "HTTPS://A.B/", 443},
      {"explicit port", "https://a.b:8443/", 8443},
      {"explicit port without scheme", "a.b:8080/x", 8080},
      {"colon with nothing after it", "http://a.b:/", 0},
      {"five-byte scheme test", "httpsx.com/", 443},
      {"read after the last colon", "http://[::1]:8080/", 8080},
      {"user info password is no number", "http://user:pw@h.com/", 0},
      {"colon inside a double-byte character is no port", "S\xFF\xFF\xFF\xFF\xFF:tB.\x01\x01", 80},
  };
  for (const Row& row : rows) EXPECT_EQ(UrlGetPort(row.url), row.expected) << row.name;
}

TEST(UrlGetPath, Cases) {
  struct Row {
    const char* name;
    std::string url, expected;
  };
  const Row rows[] = {
      {"empty url", "", "/"},
      {"no path", "http://a.b", "/"},
      {"caller's case, query and fragment kept", "HTTPS://A.B/X/Y?Q=1#F", "/X/Y?Q=1#F"},
      {"no scheme", "a.b/x", "/x"},
      {"after the port", "http://a.b:8080/x", "/x"},
      {"query right after host", "http://a.b?q=1", "/"},
      {"inner http:// host", "a.b/?u=http://c.d/e", "/e"},
  };
  for (const Row& row : rows) EXPECT_EQ(UrlGetPath(row.url), row.expected) << row.name;
}

}  // namespace
}  // namespace kelvorat
