// Percent-encoding for the query of a URL.
#include <gtest/gtest.h>

#include "text/url_encode.h"

namespace kelvorat {
namespace {

TEST(UrlEncodeText, Options) {
  struct Row {
    const char* name;
    Text input;
    bool keepUnreserved;
    bool toUtf8First;
    Text want;
  };
  const Row rows[] = {
      {"alert for a.b", "a.b\xD2\xD1\xB1\xBB\xB7\xE2\xA3\xA1", false, false,
       "%61%2E%62%D2%D1%B1%BB%B7%E2%A3%A1"},
      {"keep unreserved", "a-b_c.d/e f~\n", true, false, "a-b%5Fc.d%2Fe%20f%7E%0A"},
      {"unreserved kept", "AZaz09-.", true, false, "AZaz09-."},
      {"unreserved encoded", "AZaz09-.", false, false, "%41%5A%61%7A%30%39%2D%2E"},
      {"936 bytes", "\xD6\xD0", false, false, "%D6%D0"},
      {"UTF-8 first", "\xD6\xD0", false, true, "%E4%B8%AD"},
      {"UTF-8 first, keep unreserved", "\xD6\xD0" "a", true, true, "%E4%B8%ADa"},
      {"leading zero kept", "\n", false, false, "%0A"},
      {"range edges", ",-./9:@AZ[`az{\x7F\x80\xFF", true, false, "%2C-.%2F9%3A%40AZ%5B%60az%7B%7F%80%FF"},
      {"empty", "", false, false, ""},
      {"empty with options", "", true, true, ""},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(UrlEncodeText(row.input, row.keepUnreserved, row.toUtf8First), row.want) << row.name;
  }
}

TEST(UrlEncodeText, EveryByteValue) {
  for (int b = 1; b < 256; ++b) {
    const Text one(1, static_cast<char>(b));
    const bool kept = (b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') ||
                      b == '-' || b == '.';
    static constexpr char kHex[] = "0123456789ABCDEF";
    const Text encoded = {'%', kHex[b >> 4], kHex[b & 0xF]};
    EXPECT_EQ(UrlEncodeText(one), encoded) << b;
    EXPECT_EQ(UrlEncodeText(one, true), kept ? one : encoded) << b;
  }
}

}  // namespace
}  // namespace kelvorat
