// The date-time text, in code page 936.
#include <gtest/gtest.h>

#include "text/text.h"

namespace kelvorat {
namespace {

// 年 月 日 时 分 秒 in code page 936.
#define NIAN "\xC4\xEA"
#define YUE "\xD4\xC2"
#define RI "\xC8\xD5"
#define SHI "\xCA\xB1"
#define FEN "\xB7\xD6"
#define MIAO "\xC3\xEB"

TEST(DateTimeToText, ShortensTrailingZeroFields) {
  struct Row {
    const char* name;
    DateTime input;
    Text want;
  };
  const Row rows[] = {
      {"all fields", {2024, 3, 5, 14, 7, 9}, "2024" NIAN "3" YUE "5" RI "14" SHI "7" FEN "9" MIAO},
      {"no seconds", {2024, 3, 5, 14, 7, 0}, "2024" NIAN "3" YUE "5" RI "14" SHI "7" FEN},
      {"whole hour", {2024, 3, 5, 14, 0, 0}, "2024" NIAN "3" YUE "5" RI "14" SHI},
      {"midnight", {2024, 3, 5, 0, 0, 0}, "2024" NIAN "3" YUE "5" RI},
      {"zero minute kept before seconds", {2024, 3, 5, 14, 0, 5}, "2024" NIAN "3" YUE "5" RI "14" SHI "0" FEN "5" MIAO},
      {"zero hour kept before minutes", {2024, 3, 5, 0, 7, 0}, "2024" NIAN "3" YUE "5" RI "0" SHI "7" FEN},
      {"no padding", {2024, 12, 31, 23, 59, 59}, "2024" NIAN "12" YUE "31" RI "23" SHI "59" FEN "59" MIAO},
  };
  for (const Row& row : rows) EXPECT_EQ(DateTimeToText(row.input), row.want) << row.name;
}

}  // namespace
}  // namespace kelvorat
