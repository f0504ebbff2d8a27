// The one-step conversions between UTF-8 and code page 936 against the two
// steps through wide text that they stand for.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "text/internal/wide_steps.h"
#include "text/platform/utf8_cp936.h"

namespace kelvorat::platform {
namespace {

Text TwoStepsToCp936(std::string_view utf8) {
  return internal::WriteWide(internal::ReadWide(utf8, 65001), 936);
}
Text TwoStepsToUtf8(std::string_view cp936) {
  return internal::WriteWide(internal::ReadWide(cp936, 936), 65001);
}

void ExpectBothWaysAsTwoSteps(const std::string& input, const std::string& name) {
  EXPECT_EQ(Utf8ToCp936(input), TwoStepsToCp936(input)) << name;
  EXPECT_EQ(Cp936ToUtf8(input), TwoStepsToUtf8(input)) << name;
}

// Every byte and every pair, alone, between ASCII and before a high byte:
// each lead byte with every second byte, and every UTF-8 start with every
// next byte.
TEST(Utf8Cp936, EveryByteAndPairAsTwoSteps) {
  for (int a = 1; a < 0x100; ++a) {
    for (int b = 1; b < 0x100; ++b) {
      const std::string pair{static_cast<char>(a), static_cast<char>(b)};
      const std::string name = std::to_string(a) + " " + std::to_string(b);
      if (Utf8ToCp936(pair) != TwoStepsToCp936(pair) || Cp936ToUtf8(pair) != TwoStepsToUtf8(pair) ||
          Cp936ToUtf8("x" + pair + "\xB0") != TwoStepsToUtf8("x" + pair + "\xB0")) {
        ExpectBothWaysAsTwoSteps(pair, name);
        ExpectBothWaysAsTwoSteps("x" + pair + "\xB0", name + " in context");
        return;
      }
    }
  }
}

// Random texts of the pieces where the fast paths begin and end: ASCII runs
// longer and shorter than eight bytes, well-formed and broken UTF-8 of every
// length, 936 pairs, stray high bytes.
TEST(Utf8Cp936, RandomTextsAsTwoSteps) {
  const std::string pieces[] = {
      "abcdefghijklmnop", "a", "xyz ", "\r\n",
      "\xE5\x9F\x9F\xE5\x90\x8D",  // 域名
      "\xEF\xBC\x81", "\xEF\xBF\xBD", "\xE2\x82\xAC", "\xC3\xA9", "\xF0\x9F\x98\x80",
      "\xE0\xA0\x80", "\xE0\x80\xAF", "\xED\x9F\xBF", "\xED\xA0\x80", "\xF4\x90\x80\x80",
      "\xE5\x9F", "\xE5", "\xF0\x9F\x98", "\x80", "\xBF", "\xC0\xAF", "\xFF", "\xFE",
      "\xD3\xF2\xC3\xFB", "\xB0\xA1", "\x81\x40", "\xA1\x7F", "\xAA\xA1", "\x81",
  };
  std::mt19937 random(17);
  for (int round = 0; round < 3000; ++round) {
    std::string text;
    for (unsigned count = random() % 24; count > 0; --count) text += pieces[random() % std::size(pieces)];
    ExpectBothWaysAsTwoSteps(text, "round " + std::to_string(round));
    if (HasFailure()) return;
  }
}

// Growing the output buffer: text whose UTF-8 is far longer than the
// estimate, three bytes for each byte read.
TEST(Utf8Cp936, OutputLongerThanChineseTextAsTwoSteps) {
  ExpectBothWaysAsTwoSteps(std::string(100001, '\x80'), "euro signs");
  ExpectBothWaysAsTwoSteps(std::string(70000, 'a') + std::string(30001, '\xFF'), "ASCII then bad bytes");
}

}  // namespace
}  // namespace kelvorat::platform
