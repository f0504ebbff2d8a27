// Header-name normalization of request header blocks.
#include "http/header_names.h"

#include <gtest/gtest.h>

namespace kelvorat {
namespace {

TEST(NormalizeHeaderNames, Cases) {
  struct Row {
    const char* name;
    std::string input, expected;
  };
  const Row rows[] = {
      {"empty block", "", ""},
      {"no line with a colon", "abc\r\n\r\nxyz\r\n", ""},
      {"single line", "content-type: text/html", "Content-Type: text/html"},
      {"inner letters keep their case", "x-FORWARDED-for: 1", "X-FORWARDED-For: 1"},
      {"value untouched", "x: lower-case value", "X: lower-case value"},
      {"junk and blank lines dropped, order kept, no final break",
       "accept: */*\r\n\r\njunk\r\nuser-agent: x\r\n", "Accept: */*\r\nUser-Agent: x"},
      {"only text before the first colon is a name", "a:b:c", "A:b:c"},
      {"leading space keeps the first word", " x-y : v", " x-Y : v"},
      {"leading dash", "-x: 1", "-X: 1"},
      {"double dash", "a--b: 1", "A--B: 1"},
      {"trailing dash comes back", "a-b-: 1", "A-B-: 1"},
      {"lone dash name", "-: 1", "-: 1"},
      {"line starting with a colon", ":value", ":value"},
      // B0 61: the second byte looks like 'a' but belongs to the character.
      {"double-byte characters unchanged", "\xB0\x61-b: v\r\n\xB0\x61x: w",
       "\xB0\x61-B: v\r\n\xB0\x61x: w"},
      // Found by fuzzing (fuzz/corpus/header_names_fuzz/regression-*): a lead
      // byte takes the next byte whatever it is, so the line break, dash or
      // colon after it is none.
      {"lead byte takes the CR of the final line break", "\xB0\xA1-a: \xB0\r\n", "\xB0\xA1-A: \xB0\r\n"},
      {"lead bytes take a dash and a colon",
       " --b: 2\r\nax: 1\r\n\xF5-%b: 2\r\na-b\xEA: 3\r\n: v", " --B: 2\r\nAx: 1\r\n\xF5-%b: 2\r\n: v"},
  };
  for (const Row& row : rows) EXPECT_EQ(NormalizeHeaderNames(row.input), row.expected) << row.name;
}

TEST(CapitalizeFirst, Cases) {
  EXPECT_EQ(CapitalizeFirst(""), "");
  EXPECT_EQ(CapitalizeFirst("abc"), "Abc");
  EXPECT_EQ(CapitalizeFirst("ABC"), "ABC");
  EXPECT_EQ(CapitalizeFirst("1a"), "1a");
  EXPECT_EQ(CapitalizeFirst("\xB0\x61z"), "\xB0\x61z");
}

}  // namespace
}  // namespace kelvorat
