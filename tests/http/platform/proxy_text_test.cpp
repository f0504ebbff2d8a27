#include "http/platform/curl/proxy_text.h"

#include <gtest/gtest.h>

namespace kelvorat::wininet::curl {
namespace {

TEST(ProxyForScheme, PicksTheEntryForTheRequestScheme) {
  struct Row {
    const char* name;
    const char* text;
    bool secure;
    const char* proxy;
  };
  const Row rows[] = {
      {"http entry, plain URL", "http=p:8080", false, "http://p:8080"},
      {"http entry, secure URL goes direct", "http=p:8080", true, ""},
      {"plain entry serves every scheme", "p:3128", true, "http://p:3128"},
      {"plain entry, plain URL", "p:3128", false, "http://p:3128"},
      {"own scheme wins over plain", "p:1 https=s:2", true, "http://s:2"},
      {"plain wins over socks", "socks=k:9;p:1", false, "http://p:1"},
      {"socks for any scheme", "socks=k", false, "socks4://k:1080"},
      {"scheme name in any case", "HTTP=p:1", false, "http://p:1"},
      {"missing port is 80", "http=p", false, "http://p:80"},
      {"URL form kept", "http=http://p:81", false, "http://p:81"},
      {"IPv6 with port", "[::1]:8080", false, "http://[::1]:8080"},
      {"IPv6 without port", "[::1]", false, "http://[::1]:80"},
      {"first of several", "http=a:1 http=b:2", false, "http://a:1"},
      {"empty value skipped", "http= p:1", false, "http://p:1"},
      {"ftp entry ignored", "ftp=f:21", false, ""},
      {"empty text", "", false, ""},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(ProxyForScheme(row.text, row.secure), row.proxy) << row.name;
  }
}

TEST(NoProxyList, KeepsWhatLibcurlCanMatch) {
  struct Row {
    const char* text;
    const char* list;
  };
  const Row rows[] = {
      {"", ""},
      {"*.a.com;b.org", "a.com,b.org"},
      {"a.com b.org", "a.com,b.org"},
      {"<local>", ""},
      {"10.*;c.net", "c.net"},
      {"*", "*"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(NoProxyList(row.text), row.list) << row.text;
  }
}

}  // namespace
}  // namespace kelvorat::wininet::curl
