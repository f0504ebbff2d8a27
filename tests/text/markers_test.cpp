// Marker extraction: TextBetween (with the quote placeholder), TextBefore,
// HeaderLineValue.
#include "text/markers.h"

#include <gtest/gtest.h>

namespace kelvorat {
namespace {

// "#引号" in code page 936.
constexpr const char* kQuote = "#\xD2\xFD\xBA\xC5";

TEST(TextBetween, Cases) {
  struct Row {
    const char* name;
    std::string text, left, right;
    int startPos;
    bool ignoreCase;
    std::string expected;
  };
  const std::string q = kQuote;
  const Row rows[] = {
      {"placeholder on both sides", R"(id="abc" n="d")", q, q, 0, false, "abc"},
      // The marker advances by its length after the replacement, not before.
      {"word followed by placeholder", R"(name="v1" value="v2")", "value=" + q, q, 0, false, "v2"},
      {"placeholder twice in one marker", R"(x""y")", q + q, q, 0, false, "y"},
      {"set-cookie keeps leading space", "Set-Cookie: sid=1; path=/", "Set-Cookie:", ";", 0, false,
       " sid=1"},
      {"no right marker", "Set-Cookie: sid=1", "Set-Cookie:", ";", 0, false, ""},
      {"no left marker", "abc", "x", "c", 0, false, ""},
      {"right directly after left", "xaby", "a", "b", 0, false, ""},
      {"right only before left", "xbay", "a", "b", 0, false, ""},
      {"right searched after the whole left marker", "abcb", "ab", "b", 0, false, "c"},
      {"ignoreCase folds both markers", "<A>x</A>", "<a>", "</a>", 0, true, "x"},
      {"case differs without ignoreCase", "<A>x</A>", "<a>", "</a>", 0, false, ""},
      {"startPos below 2 searches from 1", "[a] [b]", "[", "]", -5, false, "a"},
      {"startPos 1", "[a] [b]", "[", "]", 1, false, "a"},
      {"startPos past first left marker", "[a] [b]", "[", "]", 2, false, "b"},
      {"startPos beyond the text", "[a] [b]", "[", "]", 99, false, ""},
      {"empty left marker reads from 1 whatever startPos", "k=v;x", "", ";", 3, false, "k=v"},
      {"empty right marker", "[a]", "[", "", 0, false, ""},
      {"empty text", "", "", "", 0, false, ""},
      // The 'A' inside the two-byte character 81 41 is not a marker.
      {"no match on a second byte", "\x81\x41z" "A1]", "A", "]", 0, false, "1"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(TextBetween(row.text, row.left, row.right, row.startPos, row.ignoreCase), row.expected)
        << row.name;
  }
}

TEST(TextBetween, DefaultsAreStartOneAndCaseSensitive) {
  EXPECT_EQ(TextBetween("<a>1</a><a>2</a>", "<a>", "</a>"), "1");
  EXPECT_EQ(TextBetween("<A>1</A>", "<a>", "</a>"), "");
}

TEST(TextBefore, Cases) {
  struct Row {
    const char* name;
    std::string text, marker;
    int startPos;
    bool ignoreCase;
    std::string expected;
  };
  const Row rows[] = {
      {"header name", "Content-Type: text/html", ": ", 0, false, "Content-Type"},
      {"no marker", "Content-Type:text/html", ": ", 0, false, ""},
      {"startPos past an early marker still cuts from 1", "a:b:c", ":", 3, false, "a:b"},
      {"negative startPos", "a:b:c", ":", -1, false, "a"},
      {"startPos beyond the text", "a:b:c", ":", 9, false, ""},
      {"empty marker", "abc", "", 0, false, ""},
      {"ignoreCase", "abXcd", "x", 0, true, "ab"},
      {"case-sensitive by default", "abXcd", "x", 0, false, ""},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(TextBefore(row.text, row.marker, row.startPos, row.ignoreCase), row.expected)
        << row.name;
  }
}

TEST(HeaderLineValue, Cases) {
  struct Row {
    const char* name;
    std::string line, expected;
  };
  const Row rows[] = {
      {"spaces around the value", "Host:  a.b  ", "a.b"},
      {"full-width spaces trimmed", "K:\xA1\xA1v\xA1\xA1", "v"},
      {"tab is not a space", "K:\tv ", "\tv"},
      {"ends with its colon", "Host:", ""},
      {"no colon", "no colon here", ""},
      {"later colons kept", "Referer: http://a:80/", "http://a:80/"},
      {"empty line", "", ""},
  };
  for (const Row& row : rows) EXPECT_EQ(HeaderLineValue(row.line), row.expected) << row.name;
}

}  // namespace
}  // namespace kelvorat
