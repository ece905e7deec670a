#include "raf/read_at.h"

#include <gtest/gtest.h>

#include <array>

namespace skidlog {
namespace {

std::array<std::byte, 8> someBytes() {
  return {std::byte{0xFF}, std::byte{0xFF}, std::byte{0x00}, std::byte{0x80},
          std::byte{0x01}, std::byte{0x02}, std::byte{0x03}, std::byte{0x04}};
}

TEST(ReadAt, DecodesLittleEndianWithTheItemsSignedness) {
  const auto bytes = someBytes();
  ReplayInput input(bytes);
  EXPECT_EQ(readOne<std::uint16_t>(input, 0), 65535u);  // FF FF is not -1
  EXPECT_EQ(readOne<std::int16_t>(input, 0), -1);
  EXPECT_EQ(readOne<std::int16_t>(input, 2), -32768);
  EXPECT_EQ(readOne<std::int32_t>(input, 4), 0x04030201);
  EXPECT_EQ(readOne<std::uint8_t>(input, 3), 0x80u);
  EXPECT_FALSE(input.failed());
}

TEST(ReadAt, ShortReadFailsForGoodEvenBeforeTheEnd) {
  const auto bytes = someBytes();
  ReplayInput input(bytes);
  std::int32_t value = 0x7A7A7A7A;
  readAt(input, 6, &value, 1);  // two of four bytes delivered
  EXPECT_TRUE(input.failed());
  EXPECT_EQ(value, 0x7A7A0403);  // delivered bytes land low, the rest keep what they held
  std::int16_t early = 7;
  readAt(input, 0, &early, 1);  // lies inside the file, but the input has failed
  EXPECT_EQ(early, 7);
}

TEST(ReadAt, ItemsPastTheShortOneKeepTheirValues) {
  const auto bytes = someBytes();
  ReplayInput input(bytes);
  std::int16_t values[3] = {11, 22, 33};
  readAt(input, 4, values, 3);
  EXPECT_EQ(values[0], 0x0201);
  EXPECT_EQ(values[1], 0x0403);
  EXPECT_EQ(values[2], 33);
  EXPECT_TRUE(input.failed());
}

TEST(ReadAt, OffsetFarBeyondTheEndDeliversNothing) {
  const auto bytes = someBytes();
  ReplayInput input(bytes);
  EXPECT_EQ(readOne<float>(input, std::uint64_t{1} << 40, 2.5f), 2.5f);
  EXPECT_TRUE(input.failed());
}

}  // namespace
}  // namespace skidlog
