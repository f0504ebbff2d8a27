// The stand-in for the Win32 code-page conversion functions.
#include <gtest/gtest.h>

#include <string>

#include "text/platform/codepage_platform.h"

namespace kelvorat::platform {
namespace {

// Reads bytes (explicit length) in codePage with a count query first.
std::u16string Read(std::string_view bytes, unsigned codePage = 65001) {
  const int length = static_cast<int>(bytes.size());
  const int units = MultiByteToWideChar(codePage, 0, bytes.data(), length, nullptr, 0);
  std::u16string wide(static_cast<std::size_t>(units), u'\0');
  EXPECT_EQ(MultiByteToWideChar(codePage, 0, bytes.data(), length, wide.data(), units), units);
  return wide;
}

std::string Write(std::u16string_view wide, unsigned codePage = 936) {
  const int length = static_cast<int>(wide.size());
  const int bytes = WideCharToMultiByte(codePage, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<std::size_t>(bytes), '\0');
  EXPECT_EQ(WideCharToMultiByte(codePage, 0, wide.data(), length, text.data(), bytes, nullptr, nullptr), bytes);
  return text;
}

TEST(MultiByteToWideChar, MalformedUtf8) {
  struct Row {
    const char* name;
    std::string_view input;
    std::u16string want;
  };
  const Row rows[] = {
      {"valid mix", "a\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80", u"a\u00E9\u4E2D\U0001F600"},
      {"lone continuation", "a\x80" "b", u"a\uFFFD" "b"},
      {"two continuations, one each", "\x80\xBF", u"\uFFFD\uFFFD"},
      {"truncated three-byte at end", "a\xE4\xB8", u"a\uFFFD"},
      {"truncated sequence before ASCII", "\xE4\xB8" "a", u"\uFFFD" "a"},
      {"truncated four-byte, one replacement", "\xF0\x9F\x98" "x", u"\uFFFD" "x"},
      {"overlong two-byte lead", "\xC0\xAF", u"\uFFFD\uFFFD"},
      {"overlong three-byte", "\xE0\x80\xAF", u"\uFFFD\uFFFD\uFFFD"},
      {"encoded surrogate", "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},
      {"above U+10FFFF", "\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
      {"F5 and FF never start", "\xF5\xFF", u"\uFFFD\uFFFD"},
      {"highest code point", "\xF4\x8F\xBF\xBF", u"\U0010FFFF"},
      {"GBK bytes read as UTF-8", "\xD3\xF2\xC3\xFB", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
  };
  for (const Row& row : rows) EXPECT_EQ(Read(row.input), row.want) << row.name;
}

TEST(MultiByteToWideChar, Cp936) {
  struct Row {
    const char* name;
    std::string_view input;
    std::u16string want;
  };
  const Row rows[] = {
      {"verdict", "\xD3\xF2\xC3\xFB\xD5\xFD\xB3\xA3", u"\u57DF\u540D\u6B63\u5E38"},
      {"0x80 is the euro sign", "\x80", u"\u20AC"},
      {"full-width space", "\xA1\xA1", u"\u3000"},
      {"ASCII second byte", "\x81\x40", u"\u4E02"},
      {"0xFF is no character", "a\xFF", u"a\uFFFD"},
      {"lone lead at end", "a\xD6", u"a\uFFFD"},
      {"ASCII after a broken pair is kept", "\xD6\x22" "b", u"\uFFFD\"b"},
      {"unmapped high pair is one replacement", "\xA2\xA0" "b", u"\uFFFD" "b"},
  };
  for (const Row& row : rows) EXPECT_EQ(Read(row.input, 936), row.want) << row.name;
  EXPECT_EQ(Read("\xD6\xD0", 0), u"\u4E2D");  // the ANSI code page is 936
}

TEST(MultiByteToWideChar, CountsAndFailures) {
  char16_t out[8] = {};
  // Source length -1: read through the terminator, which is counted.
  EXPECT_EQ(MultiByteToWideChar(65001, 0, "abc", -1, nullptr, 0), 4);
  EXPECT_EQ(MultiByteToWideChar(65001, 0, "abc", -1, out, 4), 4);
  EXPECT_EQ(std::u16string(out, 4), std::u16string(u"abc", 4));
  EXPECT_EQ(MultiByteToWideChar(65001, 0, "abc", 3, nullptr, 0), 3);
  // A destination that is too small fails, and nothing is written past it.
  out[2] = u'#';
  EXPECT_EQ(MultiByteToWideChar(65001, 0, "abc", -1, out, 2), 0);
  EXPECT_EQ(out[2], u'#');
  EXPECT_EQ(MultiByteToWideChar(1252, 0, "abc", -1, nullptr, 0), 0) << "unknown code page";
  EXPECT_EQ(MultiByteToWideChar(65001, 8, "abc", -1, nullptr, 0), 0) << "flags other than 0";
  EXPECT_EQ(MultiByteToWideChar(65001, 0, "abc", 0, nullptr, 0), 0) << "empty source";
  EXPECT_EQ(MultiByteToWideChar(65001, 0, nullptr, -1, nullptr, 0), 0) << "no source";
  EXPECT_EQ(MultiByteToWideChar(65001, 0, "abc", -1, nullptr, 4), 0) << "size without buffer";
}

TEST(WideCharToMultiByte, Writing) {
  struct Row {
    const char* name;
    std::u16string input;
    unsigned codePage;
    std::string want;
  };
  const Row rows[] = {
      {"verdict", u"\u57DF\u540D\u6B63\u5E38", 936, "\xD3\xF2\xC3\xFB\xD5\xFD\xB3\xA3"},
      {"euro sign", u"\u20AC", 936, "\x80"},
      {"emoji is one default char", u"a\U0001F600b", 936, "a?b"},
      {"replacement char lacks in 936", u"\uFFFD", 936, "?"},
      {"lone surrogate in 936", u"\xD800" "a", 936, "?a"},
      {"ANSI is 936", u"\u4E2D", 0, "\xD6\xD0"},
      {"UTF-8 all lengths", u"a\u00E9\u4E2D\U0001F600", 65001, "a\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80"},
      {"UTF-8 lone high surrogate", u"\xD800" "a", 65001, "\xEF\xBF\xBD" "a"},
      {"UTF-8 lone low surrogate at end", u"a\xDC00", 65001, "a\xEF\xBF\xBD"},
  };
  for (const Row& row : rows) EXPECT_EQ(Write(row.input, row.codePage), row.want) << row.name;
}

TEST(WideCharToMultiByte, CountsDefaultsAndFailures) {
  const char16_t* abc = u"a\u4E2D";
  char out[8] = {};
  EXPECT_EQ(WideCharToMultiByte(936, 0, abc, -1, nullptr, 0, nullptr, nullptr), 4);
  EXPECT_EQ(WideCharToMultiByte(65001, 0, abc, -1, nullptr, 0, nullptr, nullptr), 5);
  out[3] = '#';
  EXPECT_EQ(WideCharToMultiByte(936, 0, abc, -1, out, 3, nullptr, nullptr), 0) << "too small";
  EXPECT_EQ(out[3], '#');
  EXPECT_EQ(WideCharToMultiByte(936, 0, abc, -1, out, 4, nullptr, nullptr), 4);
  EXPECT_STREQ(out, "a\xD6\xD0");

  int used = -1;
  EXPECT_EQ(WideCharToMultiByte(936, 0, u"\U0001F600", -1, out, 8, "*", &used), 2);
  EXPECT_STREQ(out, "*");
  EXPECT_EQ(used, 1);
  EXPECT_EQ(WideCharToMultiByte(936, 0, u"a", -1, out, 8, nullptr, &used), 2);
  EXPECT_EQ(used, 0);
  EXPECT_EQ(WideCharToMultiByte(65001, 0, u"a", -1, out, 8, "*", nullptr), 0)
      << "UTF-8 takes no default character";
  EXPECT_EQ(WideCharToMultiByte(1252, 0, u"a", -1, out, 8, nullptr, nullptr), 0) << "unknown code page";
  EXPECT_EQ(WideCharToMultiByte(936, 1, u"a", -1, out, 8, nullptr, nullptr), 0) << "flags other than 0";
}

// Every pair 936 reads as a character writes back as the same pair, and every
// single byte below 0x80 is itself: the tables agree with each other.
TEST(Cp936, EveryCharacterRoundTrips) {
  int characters = 0;
  for (int lead = 0x80; lead <= 0xFF; ++lead) {
    for (int second = -1; second <= 0xFF; ++second) {
      std::string bytes(1, static_cast<char>(lead));
      if (second >= 0) bytes += static_cast<char>(second);
      const std::u16string wide = Read(bytes, 936);
      if (wide.size() != 1 || wide[0] == u'\uFFFD') continue;
      ++characters;
      EXPECT_EQ(Write(wide, 936), bytes) << lead << " " << second;
    }
  }
  EXPECT_GT(characters, 21000);  // GBK has 21886 characters
  for (int b = 1; b < 0x80; ++b) {
    const std::string one(1, static_cast<char>(b));
    EXPECT_EQ(Read(one, 936), std::u16string(1, static_cast<char16_t>(b)));
    EXPECT_EQ(Write(std::u16string(1, static_cast<char16_t>(b)), 936), one);
  }
}

}  // namespace
}  // namespace kelvorat::platform
