// Searching, replacing and splitting by character.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "exact_buffer.h"
#include "text/text.h"

namespace kelvorat {
namespace {

// "域名正常" in code page 936.
const Text kVerdict = "\xD3\xF2\xC3\xFB\xD5\xFD\xB3\xA3";

TEST(FindText, Anchors) {
  struct Row {
    const char* name;
    int got;
    int want;
  };
  const Row rows[] = {
      {"verdict after ok:", FindText("ok: " + kVerdict, kVerdict), 5},
      {"in empty text", FindText("", kVerdict), -1},
      {"ignore case finds header", FindText("x\r\nuser-agent: y", "User-Agent:", 1, true), 4},
      {"case matters by default", FindText("x\r\nuser-agent: y", "User-Agent:"), -1},
      {"never on a second byte", FindText("\x81\x41", "A"), -1},
      {"after a two-byte character", FindText("\x81\x41" "A", "A"), 3},
      {"second byte folded too", FindText("\x81\x61", "\x81\x41", 1, true), 1},
      {"start skips earlier match", FindText("abab", "ab", 2), 3},
      {"start is where stepping begins", FindText("\x81\x41", "A", 2), 2},
      {"start below 1", FindText("ab", "b", -4), 2},
      {"start past end", FindText("ab", "b", 3), -1},
      {"target longer than rest", FindText("abc", "bcd"), -1},
      {"match ends at last byte", FindText("xyzab", "ab"), 4},
      {"empty target", FindText("abc", ""), 1},
      {"empty target with start", FindText("abc", "", 3), 1},
      {"empty target start past end", FindText("abc", "", 4), -1},
      {"empty target empty text", FindText("", ""), -1},
  };
  for (const Row& row : rows) EXPECT_EQ(row.got, row.want) << row.name;
}

TEST(FindTextReverse, Limits) {
  struct Row {
    const char* name;
    int got;
    int want;
  };
  const Row rows[] = {
      {"whole text", FindTextReverse("a.b.c", "."), 4},
      {"limit 4", FindTextReverse("a.b.c", ".", 4), 2},
      {"limit 2", FindTextReverse("a.b.c", ".", 2), -1},
      {"limit 1", FindTextReverse("a.b.c", ".", 1), -1},
      {"limit 5", FindTextReverse("a.b.c", ".", 5), 4},
      {"limit past end", FindTextReverse("a.b.c", ".", 50), 4},
      {"match must end before limit", FindTextReverse("abab", "ab", 4), 1},
      {"overlapping matches", FindTextReverse("aaa", "aa"), 2},
      {"never on a second byte", FindTextReverse("A\x81\x41", "A"), 1},
      {"ignore case", FindTextReverse("Ab-aB", "ab", kWholeText, true), 4},
      {"empty target", FindTextReverse("abc", ""), 1},
      {"empty target limit 1", FindTextReverse("abc", "", 1), -1},
      {"empty text", FindTextReverse("", "a"), -1},
  };
  for (const Row& row : rows) EXPECT_EQ(row.got, row.want) << row.name;
}

TEST(ReplaceText, Rules) {
  struct Row {
    const char* name;
    Text got;
    Text want;
  };
  const Row rows[] = {
      {"ignoring case", ReplaceText("aXa", "x", "", false), "aa"},
      {"case sensitive", ReplaceText("aXa", "x", "", true), "aXa"},
      {"every occurrence", ReplaceText("a-b-c", "-", "--", true), "a--b--c"},
      {"replacement not rescanned", ReplaceText("aa", "a", "aa", true), "aaaa"},
      {"scan continues after a match", ReplaceText("aaa", "aa", "b", true), "ba"},
      {"not on a second byte", ReplaceText("\x81\x41" "A", "A", "b", true), "\x81\x41" "b"},
      {"empty target", ReplaceText("abc", "", "x", true), "abc"},
      {"empty text", ReplaceText("", "a", "x", true), ""},
      {"two-byte target", ReplaceText("a" + kVerdict + "b", kVerdict, "ok", true), "aokb"},
  };
  for (const Row& row : rows) EXPECT_EQ(row.got, row.want) << row.name;
}

TEST(SplitText, Rules) {
  struct Row {
    const char* name;
    TextList got;
    TextList want;
  };
  const Row rows[] = {
      {"empty line inside, none after final", SplitText("a\r\n\r\nb\r\n", "\r\n"), {"a", "", "b"}},
      {"leading delimiter", SplitText(",a", ","), {"", "a"}},
      {"no delimiter", SplitText("abc", ","), {"abc"}},
      {"delimiter only", SplitText(",", ","), {""}},
      {"empty text", SplitText("", ","), {}},
      {"empty delimiter", SplitText("abc", ""), {"abc"}},
      {"case matters", SplitText("aXbxc", "x"), {"aX" "b", "c"}},
      {"not on a second byte", SplitText("\x81\x41" "A" "b", "A"), {"\x81\x41", "b"}},
  };
  for (const Row& row : rows) EXPECT_EQ(row.got, row.want) << row.name;
}

// A text ending in a lone lead byte: the lone byte counts as a character of
// its own and nothing after it is read (the trap byte must not matter).
TEST(TextSearch, LoneLeadByteAtEnd) {
  const testing::ExactBuffer text("a\x81\x41", 2);  // "a" and a lone 0x81
  EXPECT_EQ(FindText(text.view(), "\x81"), 2);
  EXPECT_EQ(FindText(text.view(), "\x81\x41"), -1);
  EXPECT_EQ(FindText(text.view(), "\x81" "a", 1, true), -1);
  EXPECT_EQ(FindText(text.view(), "", 2), 1);
  EXPECT_EQ(FindTextReverse(text.view(), "\x81"), 2);
  EXPECT_EQ(FindTextReverse(text.view(), "a", kWholeText, true), 1);
  EXPECT_EQ(ReplaceText(text.view(), "\x81", "Z", true), "aZ");
  EXPECT_EQ(ReplaceText(text.view(), "A", "Z", false), "Z\x81");
  EXPECT_EQ(SplitText(text.view(), "\x81"), TextList{"a"});
  EXPECT_EQ(SplitText(text.view(), "A"), TextList{"a\x81"});
}

// Simple reference: the character starts found by walking from start, then
// a byte comparison at each of them.
int ReferenceFind(std::string_view text, std::string_view target, std::size_t from,
                  std::size_t end, bool ignoreCase) {
  auto fold = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; };
  for (std::size_t i = from; i < end; i += static_cast<unsigned char>(text[i]) >= 0x80 ? 2 : 1) {
    if (end - i < target.size()) break;
    bool same = true;
    for (std::size_t k = 0; k < target.size() && same; ++k) {
      const auto a = static_cast<unsigned char>(text[i + k]);
      const auto b = static_cast<unsigned char>(target[k]);
      same = ignoreCase ? fold(a) == fold(b) : a == b;
    }
    if (same) return static_cast<int>(i) + 1;
  }
  return -1;
}

TEST(FindText, EveryByteValueSteps) {
  for (int b = 0; b < 256; ++b) {
    const Text lead(1, static_cast<char>(b));
    const bool twoByte = b >= 0x80;
    // The byte after a lead byte is never a match start.
    EXPECT_EQ(FindText(lead + "AA", "A"), twoByte ? 3 : (b == 'A' ? 1 : 2)) << b;
    EXPECT_EQ(FindTextReverse(lead + "A", "A"), twoByte ? -1 : 2) << b;
    EXPECT_EQ(SplitText(lead + "A" "b", "A").size(), twoByte ? 1u : (b == 'A' ? 3u : 2u)) << b;
    // As a last byte it is always a character start.
    EXPECT_EQ(FindText("x" + lead, lead), b == 'x' ? 1 : 2) << b;
  }
}

// The fast walk (memchr plus alignment) against the reference on random texts
// dense in lead bytes, spaces and letters of both cases.
TEST(FindText, MatchesReferenceOnRandomTexts) {
  const char alphabet[] = {'a', 'A', 'b', '\x81', '\xA1', '\xD6', ' ', 'a'};
  std::mt19937 random(12345);
  auto make = [&](std::size_t length) {
    Text text;
    for (std::size_t i = 0; i < length; ++i) text += alphabet[random() % sizeof alphabet];
    return text;
  };
  for (int round = 0; round < 20000; ++round) {
    const Text text = make(random() % 24);
    const Text target = make(1 + random() % 3);
    const bool ignoreCase = random() % 2 == 0;
    const int start = static_cast<int>(random() % (text.size() + 2));
    const std::size_t from = start <= 1 ? 0 : static_cast<std::size_t>(start) - 1;
    const int want = from >= text.size() ? -1 : ReferenceFind(text, target, from, text.size(), ignoreCase);
    ASSERT_EQ(FindText(text, target, start, ignoreCase), want)
        << ::testing::PrintToString(text) << " " << ::testing::PrintToString(target) << " " << start;

    const int limit = static_cast<int>(random() % (text.size() + 2));
    int last = -1;
    const std::size_t end = limit <= 1 ? 0 : std::min<std::size_t>(text.size(), limit - 1);
    for (std::size_t i = 0; i < end; i += static_cast<unsigned char>(text[i]) >= 0x80 ? 2 : 1) {
      if (ReferenceFind(text, target, i, end, ignoreCase) == static_cast<int>(i) + 1) last = static_cast<int>(i) + 1;
    }
    ASSERT_EQ(FindTextReverse(text, target, limit, ignoreCase), last)
        << ::testing::PrintToString(text) << " " << ::testing::PrintToString(target) << " " << limit;
  }
}

}  // namespace
}  // namespace kelvorat
