// Measuring, cutting and building Text by byte.
#include <gtest/gtest.h>

#include "text/text.h"

namespace kelvorat {
namespace {

TEST(TextCut, LeftRightMid) {
  struct Row {
    const char* name;
    Text got;
    Text want;
  };
  const Row rows[] = {
      {"left zero", TextLeft("abc", 0), ""},
      {"left negative", TextLeft("abc", -1), ""},
      {"left past end", TextLeft("abc", 5), "abc"},
      {"left cuts a character in two", TextLeft("\xD6\xD0", 1), "\xD6"},
      {"right two", TextRight("abc", 2), "bc"},
      {"right zero", TextRight("abc", 0), ""},
      {"right past end", TextRight("abc", 9), "abc"},
      {"mid cut at end", TextMid("abc", 3, 5), "c"},
      {"mid start past end", TextMid("abc", 4, 1), ""},
      {"mid start zero", TextMid("abc", 0, 2), ""},
      {"mid n zero", TextMid("abc", 1, 0), ""},
      {"mid inside", TextMid("abcd", 2, 2), "bc"},
      {"mid of empty", TextMid("", 1, 1), ""},
  };
  for (const Row& row : rows) EXPECT_EQ(row.got, row.want) << row.name;
  EXPECT_EQ(TextLength("a\xD6\xD0"), 3);
  EXPECT_EQ(TextLength(""), 0);
}

TEST(TextCut, CharCodes) {
  EXPECT_EQ(CharFromCode(0), "");
  EXPECT_EQ(CharFromCode(256), "");
  EXPECT_EQ(CharFromCode(-1), "");
  EXPECT_EQ(CharFromCode(0x41), "A");
  EXPECT_EQ(CharFromCode(0xFF), "\xFF");
  EXPECT_EQ(CharCode("\xD6\xD0"), -42);
  EXPECT_EQ(CharCode("A"), 65);
  EXPECT_EQ(CharCode(""), 0);
  for (int code = 1; code < 256; ++code) {
    EXPECT_EQ(CharCode(CharFromCode(code)), static_cast<signed char>(code)) << code;
  }
}

TEST(TextCut, Building) {
  EXPECT_EQ(BlankText(3), "   ");
  EXPECT_EQ(BlankText(0), "");
  EXPECT_EQ(BlankText(-2), "");
  EXPECT_EQ(ConcatText("a", Text(), std::string_view("\xD6\xD0"), Text("b")), "a\xD6\xD0" "b");
  EXPECT_EQ(ConcatText(Text(), ""), "");
}

TEST(TextCut, CompareIsUnsignedBytewise) {
  EXPECT_EQ(CompareText("abc", "abc"), 0);
  EXPECT_EQ(CompareText("", ""), 0);
  EXPECT_NE(CompareText("", "a"), 0);
  EXPECT_NE(CompareText("A", "a"), 0);
  EXPECT_LT(CompareText("a", "\x80"), 0);  // 0x80 is above 'a' as an unsigned byte
  EXPECT_GT(CompareText("ab", "a"), 0);
}

}  // namespace
}  // namespace kelvorat
