// The contract of the two code-page conversion functions the text layer
// converts through (text/platform/codepage_platform.h), as one typed suite.
// Each build runs it against the implementation it links: our own layer and
// its tables on Linux (codepage_platform_test.cpp), kernel32.dll under wine
// in the Windows build (windows/codepage_windows_test.cpp).
//
// An implementation is a type with
//   static unsigned AnsiCodePage();                  what code page 0 stands for
//   static constexpr CodePageFreedoms kFreedoms;     where it goes its own way
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "text/platform/codepage_platform.h"

namespace kelvorat::platform {

// Where the implementations may differ; everything else in the suite holds for
// each of them alike. Windows decides these for itself, our own layer decides
// them as written next to each.
struct CodePageFreedoms {
  // Malformed UTF-8 reads as U+FFFD between the characters around it, for
  // all. How many U+FFFD is free: ours writes one per byte that cannot start or
  // continue a sequence and one per sequence cut short; Windows and wine count
  // their own way.
  bool exactUtf8Replacements;
  // Bytes code page 936 has no character for: ours reads each broken or
  // unmapped piece as one U+FFFD and keeps an ASCII byte after a lead byte;
  // Windows reads them as '?' or as private-use characters, and a broken pair
  // may take the ASCII byte after its lead byte with it.
  bool exactCp936Replacements;
  // Ours refuses what it has no use for: code pages other than 0, 936 and
  // 65001, any flags, a default character with UTF-8. Windows knows many more
  // code pages (1252 among them) and takes its flags; wine takes a default
  // character with UTF-8 and ignores it.
  bool strictArguments;
};

template <typename Implementation>
class CodePageContract : public ::testing::Test {
 protected:
  static constexpr CodePageFreedoms kFreedoms = Implementation::kFreedoms;
  static unsigned Ansi() { return Implementation::AnsiCodePage(); }

  // Reads bytes (explicit length) in codePage, with a count query first.
  static std::u16string Read(std::string_view bytes, unsigned codePage) {
    const int length = static_cast<int>(bytes.size());
    const int units = MultiByteToWideChar(codePage, 0, bytes.data(), length, nullptr, 0);
    std::u16string wide(static_cast<std::size_t>(units), u'\0');
    EXPECT_EQ(MultiByteToWideChar(codePage, 0, bytes.data(), length, wide.data(), units), units);
    return wide;
  }

  // Writes wide (explicit length) in codePage, with a count query first.
  static std::string Write(std::u16string_view wide, unsigned codePage) {
    const int length = static_cast<int>(wide.size());
    const int bytes = WideCharToMultiByte(codePage, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(bytes), '\0');
    EXPECT_EQ(WideCharToMultiByte(codePage, 0, wide.data(), length, text.data(), bytes, nullptr, nullptr), bytes);
    return text;
  }

  // wide with every run of U+FFFD made one: what all implementations agree on.
  static std::u16string OneReplacementPerRun(std::u16string_view wide) {
    std::u16string runs;
    for (char16_t unit : wide) {
      if (unit != u'\uFFFD' || runs.empty() || runs.back() != u'\uFFFD') runs += unit;
    }
    return runs;
  }

};

TYPED_TEST_SUITE_P(CodePageContract);

TYPED_TEST_P(CodePageContract, ReadsAndWritesTheSystemTexts) {
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
    EXPECT_EQ(this->Read(row.utf8, 65001), row.wide) << row.name;
    EXPECT_EQ(this->Read(row.cp936, 936), row.wide) << row.name;
    EXPECT_EQ(this->Write(row.wide, 936), row.cp936) << row.name;
    EXPECT_EQ(this->Write(row.wide, 65001), row.utf8) << row.name;
  }
}

TYPED_TEST_P(CodePageContract, ReadsUtf8MalformedOrNot) {
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
  for (const Row& row : rows) {
    const std::u16string got = this->Read(row.input, 65001);
    if (TestFixture::kFreedoms.exactUtf8Replacements) {
      EXPECT_EQ(got, row.want) << row.name;
    } else {
      EXPECT_EQ(this->OneReplacementPerRun(got), this->OneReplacementPerRun(row.want)) << row.name;
    }
  }

  // ASCII around GBK bytes survives, and the replacements write back as one
  // '?' each.
  const std::u16string wide = this->Read("ok \xD3\xF2\xC3\xFB!", 65001);
  ASSERT_GE(wide.size(), 5u);
  EXPECT_EQ(wide.substr(0, 3), u"ok ");
  EXPECT_EQ(wide.back(), u'!');
  for (char16_t unit : wide.substr(3, wide.size() - 4)) EXPECT_EQ(unit, u'\uFFFD');
  EXPECT_EQ(this->Write(wide.substr(3, wide.size() - 4), 936), std::string(wide.size() - 4, '?'));
}

TYPED_TEST_P(CodePageContract, ReadsCp936) {
  struct Row {
    const char* name;
    std::string_view input;
    std::u16string want;
    bool lacking;  // holds bytes 936 has no character for
  };
  const Row rows[] = {
      {"verdict", "\xD3\xF2\xC3\xFB\xD5\xFD\xB3\xA3", u"\u57DF\u540D\u6B63\u5E38", false},
      {"0x80 is the euro sign", "\x80", u"\u20AC", false},
      {"full-width space", "\xA1\xA1", u"\u3000", false},
      {"ASCII second byte", "\x81\x40", u"\u4E02", false},
      {"0xFF is no character", "a\xFF", u"a\uFFFD", true},
      {"lone lead at end", "a\xD6", u"a\uFFFD", true},
      {"ASCII after a broken pair is kept", "\xD6\x22" "b", u"\uFFFD\"b", true},
      {"unmapped high pair is one replacement", "\xA2\xA0" "b", u"\uFFFD" "b", true},
  };
  for (const Row& row : rows) {
    const std::u16string got = this->Read(row.input, 936);
    if (!row.lacking || TestFixture::kFreedoms.exactCp936Replacements) {
      EXPECT_EQ(got, row.want) << row.name;
    } else {
      // Whatever the lacking bytes read as, the ASCII at either end survives.
      ASSERT_FALSE(got.empty()) << row.name;
      if (row.want.front() < 0x80) {
        EXPECT_EQ(got.front(), row.want.front()) << row.name;
      }
      if (row.want.back() < 0x80) {
        EXPECT_EQ(got.back(), row.want.back()) << row.name;
      }
    }
  }
}

TYPED_TEST_P(CodePageContract, ReadingCountsAndFailures) {
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
  EXPECT_EQ(MultiByteToWideChar(99, 0, "abc", -1, nullptr, 0), 0) << "code page no system has";
  EXPECT_EQ(MultiByteToWideChar(65001, 0, "abc", 0, nullptr, 0), 0) << "empty source";
  EXPECT_EQ(MultiByteToWideChar(65001, 0, nullptr, -1, nullptr, 0), 0) << "no source";
  EXPECT_EQ(MultiByteToWideChar(65001, 0, "abc", -1, nullptr, 4), 0) << "size without buffer";
  if (TestFixture::kFreedoms.strictArguments) {
    EXPECT_EQ(MultiByteToWideChar(1252, 0, "abc", -1, nullptr, 0), 0) << "unknown code page";
    EXPECT_EQ(MultiByteToWideChar(65001, 8, "abc", -1, nullptr, 0), 0) << "flags other than 0";
  }
}

TYPED_TEST_P(CodePageContract, Writes) {
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
      {"two emoji, one each", u"\U0001F600\U0001F600", 936, "??"},
      {"replacement char lacks in 936", u"\uFFFD", 936, "?"},
      {"lone surrogate in 936 is one character too", u"\xD800" "a", 936, "?a"},
      {"UTF-8 all lengths", u"a\u00E9\u4E2D\U0001F600", 65001, "a\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80"},
      {"UTF-8 has the character: the pair written whole", u"\U0001F600", 65001, "\xF0\x9F\x98\x80"},
      {"UTF-8 lone high surrogate", u"\xD800" "a", 65001, "\xEF\xBF\xBD" "a"},
      {"UTF-8 lone low surrogate at end", u"a\xDC00", 65001, "a\xEF\xBF\xBD"},
  };
  for (const Row& row : rows) EXPECT_EQ(this->Write(row.input, row.codePage), row.want) << row.name;
}

TYPED_TEST_P(CodePageContract, WritingCountsDefaultsAndFailures) {
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
  // Terminated source: the count includes the terminator.
  EXPECT_EQ(WideCharToMultiByte(936, 0, u"\U0001F600", -1, nullptr, 0, nullptr, nullptr), 2);
  EXPECT_EQ(WideCharToMultiByte(936, 0, u"\U0001F600", -1, out, 8, nullptr, &used), 2);
  EXPECT_STREQ(out, "?");
  EXPECT_EQ(used, 1);
  used = -1;
  EXPECT_EQ(WideCharToMultiByte(936, 0, u"\U0001F600", -1, out, 8, "*", &used), 2);
  EXPECT_STREQ(out, "*");
  EXPECT_EQ(used, 1);
  EXPECT_EQ(WideCharToMultiByte(936, 0, u"a", -1, out, 8, nullptr, &used), 2);
  EXPECT_EQ(used, 0);
  // A pair cut by the source length is a lone surrogate.
  EXPECT_EQ(WideCharToMultiByte(936, 0, u"a\U0001F600", 2, out, 8, nullptr, nullptr), 2);
  EXPECT_EQ(std::string(out, 2), "a?");
  EXPECT_EQ(WideCharToMultiByte(99, 0, u"a", -1, out, 8, nullptr, nullptr), 0) << "code page no system has";
  if (TestFixture::kFreedoms.strictArguments) {
    EXPECT_EQ(WideCharToMultiByte(65001, 0, u"a", -1, out, 8, "*", nullptr), 0)
        << "UTF-8 takes no default character";
    EXPECT_EQ(WideCharToMultiByte(1252, 0, u"a", -1, out, 8, nullptr, nullptr), 0) << "unknown code page";
    EXPECT_EQ(WideCharToMultiByte(936, 1, u"a", -1, out, 8, nullptr, nullptr), 0) << "flags other than 0";
  }
}

// Code page 0 is the ANSI code page, whatever the implementation takes it to be.
TYPED_TEST_P(CodePageContract, AnsiIsTheAnsiCodePage) {
  const unsigned ansi = TestFixture::Ansi();
  EXPECT_EQ(this->Write(u"a\u00E9\u4E2D", 0), this->Write(u"a\u00E9\u4E2D", ansi));
  EXPECT_EQ(this->Read("a\xD6\xD0", 0), this->Read("a\xD6\xD0", ansi));
  if (ansi == 936) {
    EXPECT_EQ(this->Read("\xD6\xD0", 0), u"\u4E2D");
    EXPECT_EQ(this->Write(u"\u4E2D", 0), "\xD6\xD0");
  }
}

// Every pair 936 reads as a character writes back as the same pair, and every
// single byte below 0x80 is itself: reading and writing agree. (A '?' read
// from bytes that hold none stands for no character.)
TYPED_TEST_P(CodePageContract, EveryCp936CharacterRoundTrips) {
  int characters = 0;
  for (int lead = 0x80; lead <= 0xFF; ++lead) {
    for (int second = -1; second <= 0xFF; ++second) {
      std::string bytes(1, static_cast<char>(lead));
      if (second >= 0) bytes += static_cast<char>(second);
      const std::u16string wide = this->Read(bytes, 936);
      if (wide.size() != 1 || wide[0] == u'\uFFFD') continue;
      if (!TestFixture::kFreedoms.exactCp936Replacements && wide[0] == u'?') continue;
      ++characters;
      EXPECT_EQ(this->Write(wide, 936), bytes) << lead << " " << second;
    }
  }
  EXPECT_GT(characters, 21000);  // GBK has 21886 characters
  for (int b = 1; b < 0x80; ++b) {
    const std::string one(1, static_cast<char>(b));
    EXPECT_EQ(this->Read(one, 936), std::u16string(1, static_cast<char16_t>(b)));
    EXPECT_EQ(this->Write(std::u16string(1, static_cast<char16_t>(b)), 936), one);
  }
}

REGISTER_TYPED_TEST_SUITE_P(CodePageContract, ReadsAndWritesTheSystemTexts, ReadsUtf8MalformedOrNot, ReadsCp936,
                            ReadingCountsAndFailures, Writes, WritingCountsDefaultsAndFailures,
                            AnsiIsTheAnsiCodePage, EveryCp936CharacterRoundTrips);

}  // namespace kelvorat::platform
