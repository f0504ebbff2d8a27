// ASCII case changes that never touch second bytes.
#include <gtest/gtest.h>

#include "exact_buffer.h"
#include "text/text.h"

namespace kelvorat {
namespace {

TEST(TextCase, AsciiLettersOnly) {
  EXPECT_EQ(ToUpper("ab\xD6\xD0"), "AB\xD6\xD0");
  EXPECT_EQ(ToUpper("a\x81\x61z"), "A\x81\x61Z");  // 81 61 keeps its second byte
  EXPECT_EQ(ToLower("A\x81\x41Z"), "a\x81\x41z");
  EXPECT_EQ(ToUpper("@[`{09"), "@[`{09");
  EXPECT_EQ(ToLower("@[`{09"), "@[`{09");
  EXPECT_EQ(ToUpper(""), "");
}

TEST(TextCase, EveryByteValueAsLead) {
  for (int b = 0; b < 256; ++b) {
    const bool twoByte = b >= 0x80;
    const char upper = b >= 'a' && b <= 'z' ? static_cast<char>(b - 32) : static_cast<char>(b);
    const char lower = b >= 'A' && b <= 'Z' ? static_cast<char>(b + 32) : static_cast<char>(b);
    EXPECT_EQ(ToUpper(Text{static_cast<char>(b), 'a', 'a'}), (Text{upper, twoByte ? 'a' : 'A', 'A'})) << b;
    EXPECT_EQ(ToLower(Text{static_cast<char>(b), 'A', 'A'}), (Text{lower, twoByte ? 'A' : 'a', 'a'})) << b;
  }
}

TEST(TextCase, LoneLeadByteAtEnd) {
  const testing::ExactBuffer text("a\x81" "b", 2);
  EXPECT_EQ(ToUpper(text.view()), "A\x81");
  EXPECT_EQ(ToLower(text.view()), "a\x81");
}

}  // namespace
}  // namespace kelvorat
