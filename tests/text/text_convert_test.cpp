// Numbers to and from Text.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "exact_buffer.h"
#include "text/text.h"

namespace kelvorat {
namespace {

TEST(ToInt, Rules) {
  struct Row {
    const char* name;
    Text input;
    std::int32_t want;
  };
  const Row rows[] = {
      {"leading space, stops at slash", " 8080/x", 8080},
      {"empty", "", 0},
      {"full-width digits", "\xA3\xB8\xA3\xB0", 80},
      {"minus and letters", "-12abc", -12},
      {"plus", "+7", 7},
      {"full-width minus and space", "\xA1\xA1\xA3\xAD" "5", -5},
      {"white space kinds", "\t\n\v\f\r 3", 3},
      {"no digits", "abc", 0},
      {"sign only", "-", 0},
      {"two signs", "+-1", 0},
      {"space after sign", "- 1", 0},
      {"other two-byte character stops", "1\xD6\xD0" "2", 1},
      {"full-width letter is no digit", "\xA3\xC1", 0},
      {"second byte B0 after a lead is no digit", "\xB0\xB0", 0},
      {"int max", "2147483647", 2147483647},
      {"int min", "-2147483648", std::numeric_limits<std::int32_t>::min()},
      {"saturates high", "2147483648", 2147483647},
      {"saturates low", "-2147483649", std::numeric_limits<std::int32_t>::min()},
      {"very long saturates", "99999999999999999999999999999", 2147483647},
      {"leading zeros", "000000000000000000042", 42},
  };
  for (const Row& row : rows) EXPECT_EQ(ToInt(row.input), row.want) << row.name;
}

TEST(ToInt, LoneLeadByteAtEnd) {
  // The trap byte B5 would make A3 B5 the full-width digit 5.
  const testing::ExactBuffer text("7\xA3\xB5", 2);
  EXPECT_EQ(ToInt(text.view()), 7);
  const testing::ExactBuffer lone("\xA3\xB5", 1);
  EXPECT_EQ(ToInt(lone.view()), 0);
}

TEST(ToText, Decimal) {
  EXPECT_EQ(ToText(0), "0");
  EXPECT_EQ(ToText(-42), "-42");
  EXPECT_EQ(ToText(1234567), "1234567");
  EXPECT_EQ(ToText(std::numeric_limits<std::int64_t>::min()), "-9223372036854775808");
}

TEST(ToHexText, UpperCaseNoPadding) {
  EXPECT_EQ(ToHexText(10), "A");
  EXPECT_EQ(ToHexText(255), "FF");
  EXPECT_EQ(ToHexText(0), "0");
  EXPECT_EQ(ToHexText(0x1B), "1B");
  EXPECT_EQ(ToHexText(-1), "FFFFFFFF");
  EXPECT_EQ(ToHexText(std::numeric_limits<std::int32_t>::min()), "80000000");
}

TEST(BitOr, CombinesAll) {
  EXPECT_EQ(BitOr(1, 2, 8), 11);
  EXPECT_EQ(BitOr(0x80000000u, 1), 0x80000001);
}

}  // namespace
}  // namespace kelvorat
