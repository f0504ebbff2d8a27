#include "http/platform/curl/request_headers.h"

#include <gtest/gtest.h>

namespace kelvorat::wininet::curl {
namespace {

using Lines = std::vector<std::string>;

TEST(CurlHeaderLines, OneLinePerBlockLineThenTheSuppressions) {
  struct Row {
    const char* name;
    std::string block;
    bool sendsBody;
    Lines lines;
  };
  const Row rows[] = {
      {"default GET block", "Accept: */*\r\nReferer: http://h/\r\nAccept-Language: zh-cn", false,
       {"Accept: */*", "Referer: http://h/", "Accept-Language: zh-cn", "Expect:"}},
      {"empty block", "", false, {"Accept:", "Expect:"}},
      {"body without a content type", "Accept: */*", true, {"Accept: */*", "Expect:", "Content-Type:"}},
      {"content type in any case", "content-type: text/plain", true,
       {"content-type: text/plain", "Accept:", "Expect:"}},
      {"caller's own Expect kept", "Expect: 100-continue", false, {"Expect: 100-continue", "Accept:"}},
      {"empty lines skipped", "\r\n\r\nX-A: 1\r\n\r\n", false, {"X-A: 1", "Accept:", "Expect:"}},
      {"lone LF and CR become spaces", "X-A: 1\nX-B: 2\r\nX-C: 3\rX-D: 4", false,
       {"X-A: 1 X-B: 2", "X-C: 3 X-D: 4", "Accept:", "Expect:"}},
      {"zero byte becomes a space", std::string("X-A: 1\0X-B: 2", 13), false,
       {"X-A: 1 X-B: 2", "Accept:", "Expect:"}},
      {"empty value still sent", "X-Empty: \r\nReferer:", false,
       {"X-Empty;", "Referer;", "Accept:", "Expect:"}},
      {"Accept prefix of a longer name is not Accept", "Accept-Language: zh-cn", false,
       {"Accept-Language: zh-cn", "Accept:", "Expect:"}},
      // A space before the colon makes a server refuse the whole request, and
      // leading spaces make the line a continuation of the one before.
      {"odd lines in the platform's form", "  x-lead: a\r\nX-Trail :b\r\nAccept:   text/html  \r\nX-Empty:\r\nA:b:c",
       false, {"x-lead: a", "X-Trail: b", "Accept: text/html", "X-Empty;", "A: b:c", "Expect:"}},
      {"a value of tabs only still sent", "X-Tab:\t\t", false, {"X-Tab;", "Accept:", "Expect:"}},
      {"lines without a name or a colon dropped", ": nameless\r\n  :also\r\nNoColon\r\nX-A: 1", false,
       {"X-A: 1", "Accept:", "Expect:"}},
      {"a line break cannot start a line with spaces", "X-A: 1\n  X-B : 2", false,
       {"X-A: 1   X-B : 2", "Accept:", "Expect:"}},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(CurlHeaderLines(row.block, row.sendsBody), row.lines) << row.name;
  }
}

TEST(DescribesBody, OnlyTheBodysTypeAndLengthInAnyForm) {
  struct Row {
    const char* name;
    const char* line;
    bool describesBody;
  };
  const Row rows[] = {
      {"content type", "Content-Type: application/x-www-form-urlencoded", true},
      {"content length in lower case", "content-length: 6", true},
      {"sent empty", "Content-Type;", true},
      {"suppression line", "Content-Type:", true},
      {"other content header kept, as the platform keeps it", "Content-Language: zh", false},
      {"longer name", "Content-Types: x", false},
      {"unrelated", "Accept: */*", false},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(DescribesBody(row.line), row.describesBody) << row.name;
  }
}

}  // namespace
}  // namespace kelvorat::wininet::curl
