// The code-page conversion functions of kernel32.dll as the text layer binds
// them: the counts, results and replacements the conversions rely on.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "text/platform/codepage_platform.h"

namespace kelvorat::platform {
namespace {

std::u16string Read(std::string_view bytes, unsigned codePage) {
  const int length = static_cast<int>(bytes.size());
  const int units = MultiByteToWideChar(codePage, 0, bytes.data(), length, nullptr, 0);
  std::u16string wide(static_cast<std::size_t>(units), u'\0');
  EXPECT_EQ(MultiByteToWideChar(codePage, 0, bytes.data(), length, wide.data(), units), units);
  return wide;
}

std::string Write(std::u16string_view wide, unsigned codePage) {
  const int length = static_cast<int>(wide.size());
  const int bytes = WideCharToMultiByte(codePage, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<std::size_t>(bytes), '\0');
  EXPECT_EQ(WideCharToMultiByte(codePage, 0, wide.data(), length, text.data(), bytes, nullptr, nullptr), bytes);
  return text;
}

TEST(KernelCodePages, ReadsAndWritesTheSystemTexts) {
  struct Row {
    const char* name;
    std::string_view utf8;
    std::string_view cp936;
    std::u16string wide;
  };
  const Row rows[] = {
      {"verdict", "\xE5\x9F\x9F\xE5\x90\x8D\xE6\xAD\xA3\xE5\xB8\xB8", "\xD3\xF2\xC3\xFB\xD5\xFD\xB3\xA3",
       u"\u57DF\u540D\u6B63\u5E38"},
      {"alert suffix", "\xE5\xB7\xB2\xE8\xA2\xAB\xE5\xB0\x81\xEF\xBC\x81", "\xD2\xD1\xB1\xBB\xB7\xE2\xA3\xA1",
       u"\u5DF2\u88AB\u5C01\uFF01"},
      {"ASCII", "a.b?c=1", "a.b?c=1", u"a.b?c=1"},
      {"euro sign", "\xE2\x82\xAC", "\x80", u"\u20AC"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(Read(row.utf8, 65001), row.wide) << row.name;
    EXPECT_EQ(Read(row.cp936, 936), row.wide) << row.name;
    EXPECT_EQ(Write(row.wide, 936), row.cp936) << row.name;
    EXPECT_EQ(Write(row.wide, 65001), row.utf8) << row.name;
  }
}

// A character 936 lacks is one default character: an emoji, a surrogate pair
// in UTF-16, too. Windows on its own writes each half as a '?'.
TEST(KernelCodePages, MissingCharacterIsOneQuestionMark) {
  EXPECT_EQ(Write(u"a\U0001F600b", 936), "a?b");
  EXPECT_EQ(Write(u"\U0001F600\U0001F600", 936), "??");
  EXPECT_EQ(Write(u"\uFFFD", 936), "?");
  EXPECT_EQ(Write(u"\xD800" "a", 936), "?a") << "a lone surrogate is one character too";

  char out[8] = {};
  int used = -1;
  // Terminated source: the count includes the terminator.
  EXPECT_EQ(WideCharToMultiByte(936, 0, u"\U0001F600", -1, nullptr, 0, nullptr, nullptr), 2);
  EXPECT_EQ(WideCharToMultiByte(936, 0, u"\U0001F600", -1, out, 8, nullptr, &used), 2);
  EXPECT_STREQ(out, "?");
  EXPECT_EQ(used, 1);
  // A pair cut by the source length is a lone surrogate.
  EXPECT_EQ(WideCharToMultiByte(936, 0, u"a\U0001F600", 2, out, 8, nullptr, nullptr), 2);
  EXPECT_EQ(std::string(out, 2), "a?");
  // UTF-8 has the character: the pair is written whole.
  EXPECT_EQ(Write(u"\U0001F600", 65001), "\xF0\x9F\x98\x80");
}

TEST(KernelCodePages, MalformedUtf8BecomesReplacementsAroundAscii) {
  const std::u16string wide = Read("ok \xD3\xF2\xC3\xFB!", 65001);
  ASSERT_GE(wide.size(), 5u);
  EXPECT_EQ(wide.substr(0, 3), u"ok ");
  EXPECT_EQ(wide.back(), u'!');
  for (char16_t unit : wide.substr(3, wide.size() - 4)) EXPECT_EQ(unit, u'\uFFFD');
  EXPECT_EQ(Write(wide.substr(3, wide.size() - 4), 936), std::string(wide.size() - 4, '?'));
}

TEST(KernelCodePages, CountsAndShortDestinations) {
  char16_t wide[8] = {};
  EXPECT_EQ(MultiByteToWideChar(65001, 0, "abc", -1, nullptr, 0), 4);
  EXPECT_EQ(MultiByteToWideChar(65001, 0, "abc", -1, wide, 4), 4);
  EXPECT_EQ(std::u16string(wide, 4), std::u16string(u"abc", 4));
  EXPECT_EQ(MultiByteToWideChar(65001, 0, "abc", 3, nullptr, 0), 3);
  wide[2] = u'#';
  EXPECT_EQ(MultiByteToWideChar(65001, 0, "abc", -1, wide, 2), 0) << "too small";

  char bytes[8] = {};
  EXPECT_EQ(WideCharToMultiByte(936, 0, u"a\u4E2D", -1, nullptr, 0, nullptr, nullptr), 4);
  EXPECT_EQ(WideCharToMultiByte(65001, 0, u"a\u4E2D", -1, nullptr, 0, nullptr, nullptr), 5);
  EXPECT_EQ(WideCharToMultiByte(936, 0, u"a\u4E2D", -1, bytes, 3, nullptr, nullptr), 0) << "too small";
  EXPECT_EQ(WideCharToMultiByte(936, 0, u"a\u4E2D", -1, bytes, 4, nullptr, nullptr), 4);
  EXPECT_STREQ(bytes, "a\xD6\xD0");
}

// Code page 0 is the system's ANSI code page, whatever it is.
TEST(KernelCodePages, AnsiIsTheSystemCodePage) {
  const unsigned ansi = GetACP();
  EXPECT_EQ(Write(u"a\u00E9\u4E2D", 0), Write(u"a\u00E9\u4E2D", ansi));
  EXPECT_EQ(Read("a\xD6\xD0", 0), Read("a\xD6\xD0", ansi));
}

}  // namespace
}  // namespace kelvorat::platform
