// The replaceable clock behind CurrentDateTime.
#include <gtest/gtest.h>

#include "text/clock.h"

namespace kelvorat {
namespace {

TEST(Clock, ScopedClockReplacesAndRestores) {
  const DateTime fixed{2024, 3, 5, 14, 7, 9};
  const DateTime inner{2001, 1, 1, 0, 0, 0};
  {
    ScopedClock clock([&] { return fixed; });
    EXPECT_EQ(CurrentDateTime(), fixed);
    {
      ScopedClock nested([&] { return inner; });
      EXPECT_EQ(CurrentDateTime(), inner);
    }
    EXPECT_EQ(CurrentDateTime(), fixed);
  }
  const DateTime now = CurrentDateTime();
  EXPECT_GE(now.year, 2024);
  EXPECT_NE(now, fixed);
}

TEST(Clock, SystemTimeIsInRange) {
  const DateTime now = SystemLocalDateTime();
  EXPECT_TRUE(now.month >= 1 && now.month <= 12);
  EXPECT_TRUE(now.day >= 1 && now.day <= 31);
  EXPECT_TRUE(now.hour >= 0 && now.hour <= 23);
  EXPECT_TRUE(now.minute >= 0 && now.minute <= 59);
  EXPECT_TRUE(now.second >= 0 && now.second <= 59);
}

}  // namespace
}  // namespace kelvorat
