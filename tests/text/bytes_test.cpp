// Byte arrays and moving between Bytes and Text.
#include <gtest/gtest.h>

#include "text/text.h"

namespace kelvorat {
namespace {

const Bytes kAbc0d{'a', 'b', 'c', 0, 'd'};

TEST(Bytes, LeftAndMidLimitTheirArguments) {
  struct Row {
    const char* name;
    Bytes got;
    Bytes want;
  };
  const Row rows[] = {
      {"left two", BytesLeft(kAbc0d, 2), Bytes{'a', 'b'}},
      {"left negative", BytesLeft(kAbc0d, -3), Bytes{}},
      {"left past end", BytesLeft(kAbc0d, 99), kAbc0d},
      {"mid keeps zero byte", BytesMid(kAbc0d, 3, 2), Bytes{'c', 0}},
      {"mid start below 1 counts as 1", BytesMid(kAbc0d, -5, 1), Bytes{'a'}},
      {"mid start length+1", BytesMid(kAbc0d, 6, 3), Bytes{}},
      {"mid start far past end", BytesMid(kAbc0d, 60, 3), Bytes{}},
      {"mid n negative", BytesMid(kAbc0d, 2, -1), Bytes{}},
      {"mid cut at end", BytesMid(kAbc0d, 4, 10), Bytes{0, 'd'}},
      {"mid of empty", BytesMid(Bytes{}, 1, 1), Bytes{}},
  };
  for (const Row& row : rows) EXPECT_EQ(row.got, row.want) << row.name;
}

TEST(Bytes, BuildingAndComparing) {
  EXPECT_EQ(BytesLength(kAbc0d), 5);
  EXPECT_EQ(BytesLength(Bytes{}), 0);
  EXPECT_EQ(BlankBytes(3), (Bytes{0, 0, 0}));
  EXPECT_EQ(BlankBytes(-1), Bytes{});
  EXPECT_EQ(ConcatBytes(Bytes{1}, Bytes{}, Bytes{0, 2}), (Bytes{1, 0, 2}));
  EXPECT_EQ(ConcatBytes(Bytes{}, Bytes{}), Bytes{});
  EXPECT_TRUE(CompareBytes(Bytes{}, Bytes{}));
  EXPECT_TRUE(CompareBytes(kAbc0d, Bytes{'a', 'b', 'c', 0, 'd'}));
  EXPECT_FALSE(CompareBytes(kAbc0d, BytesLeft(kAbc0d, 4)));
  EXPECT_FALSE(CompareBytes(Bytes{0}, Bytes{1}));
}

TEST(Bytes, TextConversionStopsAtZero) {
  EXPECT_EQ(BytesToText(Bytes{0x61, 0x62, 0x00, 0x63}), "ab");
  EXPECT_EQ(BytesToText(Bytes{}), "");
  EXPECT_EQ(BytesToText(Bytes{0}), "");
  EXPECT_EQ(BytesToText(Bytes{0xD6, 0xD0}), "\xD6\xD0");
  EXPECT_EQ(TextToBytes("\xD6\xD0" "a"), (Bytes{0xD6, 0xD0, 'a'}));
  EXPECT_EQ(TextToBytes(""), Bytes{});
}

}  // namespace
}  // namespace kelvorat
