// Cookie merge and the list tools it is built from.
#include "http/cookie_merge.h"

#include <gtest/gtest.h>

namespace kelvorat {
namespace {

TEST(MergeCookies, Cases) {
  struct Row {
    const char* name;
    std::string oldIn, newIn;
    std::string merged;   // returned and left in the old-cookie argument
    std::string newOut;   // left in the new-cookie argument
  };
  const Row rows[] = {
      {"both empty", "", "", "", ""},
      {"empty old", "", "a=1; b=2", "a=1; b=2", "a=1;b=2"},
      {"empty new", "a=1; b=2", "", "a=1; b=2", ""},
      {"new value wins in front", "a=1; b=2", "a=3", "a=3; b=2", "a=3"},
      {"deleted removes the old one", "a=1; b=2", "a=deleted", "b=2", "a=deleted"},
      {"deleted is case-sensitive", "a=1; b=2", "a=DELETED", "a=DELETED; b=2", "a=DELETED"},
      {"deleted on the old side", "a=deleted; =deleted; b=2", "", "b=2", ""},
      {"spaces vanish everywhere", "a = 1; c=x y\xA1\xA1z", " d = 4 ", "d=4; a=1; c=xyz", "d=4"},
      {"names are case-sensitive", "A=1", "a=2", "a=2; A=1", "a=2"},
      {"identical new items collapse", "", "a=1;a=1", "a=1", "a=1;a=1"},
      {"same name, other value both stay", "", "a=1;a=2", "a=1; a=2", "a=1;a=2"},
      {"first old item of a name survives", "a=1;a=2", "", "a=1", ""},
      {"bare name keeps its place", "x; a=1; y", "a=2", "a=2; x; y", "a=2"},
      {"adjacent semicolons leave an empty item", "a=1;;b=2", "", "a=1; ; b=2", ""},
      {"final semicolon adds no item", "a=1;", "b=2;", "b=2; a=1", "b=2;"},
      // Found by fuzzing (fuzz/corpus/cookie_merge_fuzz/regression-lone-lead-byte-item).
      {"lone lead byte as the only new item", "a=1;a=FFFFFFFFFFFFFF\r\r\n\n", "\xE0", "\xE0; a=1", "\xE0"},
  };
  for (const Row& row : rows) {
    Text oldCookies = row.oldIn;
    Text newCookies = row.newIn;
    const Text result = MergeCookies(oldCookies, newCookies);
    EXPECT_EQ(result, row.merged) << row.name;
    EXPECT_EQ(oldCookies, row.merged) << row.name;
    EXPECT_EQ(newCookies, row.newOut) << row.name;
  }
}

TEST(CookieName, Cases) {
  EXPECT_EQ(CookieName(" a =1"), "a");
  EXPECT_EQ(CookieName("\xA1\xA1" "a=1"), "a");
  EXPECT_EQ(CookieName("a=b=c"), "a");
  EXPECT_EQ(CookieName(" bare "), "bare");
  EXPECT_EQ(CookieName("=v"), "");
  EXPECT_EQ(CookieName(""), "");
}

TEST(CookieNameInList, Cases) {
  const TextList items = {"x=1", "y", ""};
  EXPECT_TRUE(CookieNameInList(items, "x"));
  EXPECT_TRUE(CookieNameInList(items, "y"));
  EXPECT_TRUE(CookieNameInList(items, ""));
  EXPECT_FALSE(CookieNameInList(items, "x=1"));
  EXPECT_FALSE(CookieNameInList(items, "X"));
  EXPECT_FALSE(CookieNameInList({}, ""));
}

TEST(TextListIndexOf, Cases) {
  const TextList items = {"a", "", "a"};
  EXPECT_EQ(TextListIndexOf(items, "a"), 1);
  EXPECT_EQ(TextListIndexOf(items, ""), 2);
  EXPECT_EQ(TextListIndexOf(items, "A"), -1);
  EXPECT_EQ(TextListIndexOf({}, ""), -1);
}

TEST(RemoveDuplicateItems, Cases) {
  struct Row {
    const char* name;
    std::string text, separator;
    bool bySeparator;
    std::string expected;
  };
  const Row rows[] = {
      {"by separator, first empty item kept", "a; b; a; ; ; c", "; ", true, "a; b; ; c"},
      {"by separator, empty text", "", "; ", true, ""},
      {"characters: letters, double-byte, line breaks",
       "aab\xD6\xD0\xD6\xD0\r\n\r\nb", ",", false, "a,b,\xD6\xD0,\r\n"},
      {"characters, empty separator", "abca", "", false, "abc"},
      {"characters, empty text", "", ",", false, ""},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(RemoveDuplicateItems(row.text, row.separator, row.bySeparator), row.expected)
        << row.name;
  }
}

TEST(SplitCharacters, Cases) {
  struct Row {
    const char* name;
    std::string text;
    TextList expected;
  };
  const Row rows[] = {
      {"empty", "", {}},
      {"one byte", "a", {"a"}},
      {"double-byte and CR LF are one item", "a\xD6\xD0\r\nb", {"a", "\xD6\xD0", "\r\n", "b"}},
      {"lone CR and LF", "\r\r\n\n", {"\r", "\r\n", "\n"}},
      {"0x80 is one byte here", "\x80" "a", {"\x80", "a"}},
      {"lead byte last", "a\xD6", {"a", "\xD6"}},
      {"lone lead byte", "\xD6", {"\xD6"}},
  };
  for (const Row& row : rows) {
    TextList items = {"old", "items"};
    EXPECT_EQ(SplitCharacters(row.text, items), static_cast<int>(row.expected.size())) << row.name;
    EXPECT_EQ(items, row.expected) << row.name;
  }
}

}  // namespace
}  // namespace kelvorat
