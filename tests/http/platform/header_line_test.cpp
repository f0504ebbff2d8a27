#include "http/platform/curl/header_line.h"

#include <gtest/gtest.h>

namespace kelvorat::wininet::curl {
namespace {

TEST(HeaderLine, NameColonSpaceValueWithoutSurroundingSpaces) {
  struct Row {
    const char* name;
    std::string line;
    std::string formed;
  };
  const Row rows[] = {
      {"already in form", "Accept: */*", "Accept: */*"},
      {"no space after the colon", "Set-Cookie:tight=2", "Set-Cookie: tight=2"},
      {"spaces around the value", "X-Wide:    c    ", "X-Wide: c"},
      {"spaces around the name", "  x-lead : a", "x-lead: a"},
      {"space before the colon", "X-Trail :b", "X-Trail: b"},
      {"empty value", "X-Empty:", "X-Empty: "},
      {"only spaces for a value", "X-Empty:   ", "X-Empty: "},
      {"colon inside the value kept", "A:b:c", "A: b:c"},
      {"spaces inside kept", "X-A:  b  c ", "X-A: b  c"},
      {"tabs kept as the platform keeps them", "X-Tab:\tv\t", "X-Tab: \tv\t"},
      {"name case kept", "x-lower:v", "x-lower: v"},
      {"no colon: no header", "NoColon", ""},
      {"nothing before the colon: no header", ": nameless", ""},
      {"only spaces before the colon: no header", "  :nameless", ""},
      {"empty line", "", ""},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(HeaderLine(row.line), row.formed) << row.name;
  }
}

}  // namespace
}  // namespace kelvorat::wininet::curl
