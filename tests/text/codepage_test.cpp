// Conversion between code page 936, UTF-8 and wide text.
#include <gtest/gtest.h>

#include "text/codepage.h"

namespace kelvorat {
namespace {

const Text kVerdictUtf8 = "\xE5\x9F\x9F\xE5\x90\x8D\xE6\xAD\xA3\xE5\xB8\xB8";  // 域名正常
const Text kVerdict936 = "\xD3\xF2\xC3\xFB\xD5\xFD\xB3\xA3";
const Text kBlockedUtf8 = "\xE5\xB7\xB2\xE8\xA2\xAB\xE5\xB0\x81\xEF\xBC\x81";  // 已被封！
const Text kBlocked936 = "\xD2\xD1\xB1\xBB\xB7\xE2\xA3\xA1";

TEST(Utf8ToAnsi, Conversions) {
  struct Row {
    const char* name;
    Text input;
    Text want;
  };
  const Row rows[] = {
      {"verdict", kVerdictUtf8, kVerdict936},
      {"ASCII unchanged", "ok: {\"a\":1}\r\n", "ok: {\"a\":1}\r\n"},
      {"empty", "", ""},
      {"emoji becomes one question mark", "a\xF0\x9F\x98\x80" + kVerdictUtf8, "a?" + kVerdict936},
      {"answer not in UTF-8: ASCII kept, the rest ?", "ok " + kVerdict936, "ok ????????"},
      {"truncated character at end", "ab\xE5\x9F", "ab?"},
      {"euro sign", "\xE2\x82\xAC", "\x80"},
  };
  for (const Row& row : rows) EXPECT_EQ(Utf8ToAnsi(row.input), row.want) << row.name;
}

TEST(AnsiToUtf8, Conversions) {
  struct Row {
    const char* name;
    Text input;
    Text want;
  };
  const Row rows[] = {
      {"alert text", kBlocked936, kBlockedUtf8},
      {"ASCII unchanged", "a.b/c?d=1", "a.b/c?d=1"},
      {"empty", "", ""},
  };
  for (const Row& row : rows) EXPECT_EQ(AnsiToUtf8(row.input), row.want) << row.name;
  // A lead byte with nothing after it is no character: how it reads is the
  // platform's choice: U+FFFD from the Linux stand-in, the default character
  // '?' from Windows.
  const Text loneLead = AnsiToUtf8("a\xD6");
  EXPECT_TRUE(loneLead == "a\xEF\xBF\xBD" || loneLead == "a?") << loneLead;
}

// Malformed UTF-8 of any length converts whole, one replacement per bad byte
// here: nothing is cut for lack of room.
TEST(Utf8ToAnsi, LongMalformedInputConvertsWhole) {
  const Text bad(100000, '\x80');
  const Text converted = Utf8ToAnsi(bad + "end");
  EXPECT_EQ(converted, Text(100000, '?') + "end");
  const Text roundTrip = AnsiToUtf8(Text(50000, '\xFF'));
  EXPECT_EQ(roundTrip.size(), 150000u);  // U+FFFD, three bytes each
}

TEST(WideText, Halves) {
  const Bytes abc = MultiByteToWideText("abc");
  ASSERT_GE(abc.size(), 8u);
  EXPECT_EQ(BytesLeft(abc, 8), (Bytes{0x61, 0, 0x62, 0, 0x63, 0, 0, 0}));
  for (std::size_t i = 8; i < abc.size(); ++i) EXPECT_EQ(abc[i], 0) << i;
  EXPECT_EQ(WideTextToMultiByte(abc), "abc");
  EXPECT_EQ(MultiByteToWideText(""), Bytes{});
  EXPECT_EQ(WideTextToMultiByte(Bytes{}), "");
  EXPECT_EQ(MultiByteToWideText("\xD6\xD0", kGbkCodePage), (Bytes{0x2D, 0x4E, 0, 0}));
  EXPECT_EQ(WideTextToMultiByte(Bytes{0x2D, 0x4E, 0, 0}), "\xD6\xD0");  // writes in ANSI: 936
  EXPECT_EQ(WideTextToMultiByte(Bytes{0x2D, 0x4E, 0, 0}, kUtf8CodePage), "\xE4\xB8\xAD");
}

TEST(WideText, ReadsUpToFirstZeroUnitAndNoFurther) {
  EXPECT_EQ(WideTextToMultiByte(Bytes{'a', 0, 0, 0, 'b', 0}), "a");
  EXPECT_EQ(WideTextToMultiByte(Bytes{0, 0, 'b', 0}), "");
  EXPECT_EQ(WideTextToMultiByte(Bytes{'a', 0, 'b', 0}), "ab") << "no terminator";
  EXPECT_EQ(WideTextToMultiByte(Bytes{'a', 0, 'b'}), "a") << "odd length";
  // Found by fuzzing (fuzz/corpus/codepage_fuzz/regression-lone-surrogate-in-936).
  EXPECT_EQ(WideTextToMultiByte(Bytes{0x00, 0xD8, 'A', 0}, kGbkCodePage), "?A")
      << "lone surrogate, no terminator";
  // 99 is a code page no system has (1252 would be a real one on Windows).
  EXPECT_EQ(WideTextToMultiByte(Bytes{'a', 0}, 99), "") << "unknown code page";
  const Bytes unknown = MultiByteToWideText("abc", 99);
  ASSERT_GE(unknown.size(), 2u);
  EXPECT_EQ(unknown[0] | unknown[1], 0) << "unknown code page gives empty wide text";
}

}  // namespace
}  // namespace kelvorat
