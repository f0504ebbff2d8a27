// Trimming and removing spaces (0x20 and A1 A1 only).
#include <gtest/gtest.h>

#include "exact_buffer.h"
#include "text/text.h"

namespace kelvorat {
namespace {

TEST(TrimText, Rules) {
  struct Row {
    const char* name;
    Text input;
    Text want;
  };
  const Row rows[] = {
      {"tab stops trailing trim", "\xA1\xA1 ab c \t", "ab c \t"},
      {"both ends", "  a b \xA1\xA1 ", "a b"},
      {"spaces only", " \xA1\xA1 ", ""},
      {"empty", "", ""},
      {"line break is not a space", "\r\na\r\n", "\r\na\r\n"},
      {"A1 A1 straddling two characters is no space", "a\xB0\xA1\xA1", "a\xB0\xA1\xA1"},
      {"trailing run after a two-byte character", "\xD6\xD0\xA1\xA1 ", "\xD6\xD0"},
      {"second byte 0x20 is not a space", "a\x81 ", "a\x81 "},
  };
  for (const Row& row : rows) EXPECT_EQ(TrimText(row.input), row.want) << row.name;
}

TEST(RemoveSpaces, Rules) {
  struct Row {
    const char* name;
    Text input;
    Text want;
  };
  const Row rows[] = {
      {"both kinds anywhere", " a b\xA1\xA1" "c", "abc"},
      {"tab kept", "a\tb", "a\tb"},
      {"second byte 0x20 kept", "\x81 x", "\x81 x"},
      {"A1 A1 straddling two characters kept", "\xB0\xA1\xA1\xB0", "\xB0\xA1\xA1\xB0"},
      {"empty", "", ""},
  };
  for (const Row& row : rows) EXPECT_EQ(RemoveSpaces(row.input), row.want) << row.name;
}

TEST(TextSpaces, LoneLeadByteAtEnd) {
  // The trap byte after the lone A1 would make it a full-width space.
  const testing::ExactBuffer text(" a \xA1\xA1", 4);
  EXPECT_EQ(TrimText(text.view()), "a \xA1");
  EXPECT_EQ(RemoveSpaces(text.view()), "a\xA1");
  const testing::ExactBuffer lone("\xA1\xA1", 1);
  EXPECT_EQ(TrimText(lone.view()), "\xA1");
  EXPECT_EQ(RemoveSpaces(lone.view()), "\xA1");
}

}  // namespace
}  // namespace kelvorat
