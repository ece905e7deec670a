#include "raf/replay_header.h"

#include <gtest/gtest.h>

#include <cmath>

#include "tests/support/replay_builder.h"

namespace skidlog {
namespace {

using test::floatBits;
using test::ReplayBuilder;

HeaderRecords headerOf(const ReplayBuilder& b) {
  ReplayInput input(b.bytes());
  return readHeader(input);
}

TEST(ReadHeader, DecodesFieldsAndWheelMass) {
  ReplayBuilder b(3);
  b.put<std::uint16_t>(12, 0xFFFF).put<std::int32_t>(20, -1).put<float>(188, 1200.0f).put<float>(192, 1000.0f);
  for (int k = 0; k < 12; ++k) b.put<std::uint8_t>(static_cast<std::size_t>(k), 0xAB);  // arbitrary signature
  b.put<std::uint8_t>(9, 0);
  const HeaderRecords r = headerOf(b);
  EXPECT_EQ(r.header.firstBlockOffset, 65535);
  EXPECT_EQ(r.header.blockSize, 192);
  EXPECT_EQ(r.header.blockCount, -1);
  EXPECT_EQ(r.header.wheelMass, 50.0f);
  EXPECT_EQ(r.geometry[2].offsetY, -1.35f);
  EXPECT_EQ(r.geometry[3].radius, 0.3f);
}

TEST(ReadHeader, SampleIntervalFromIntervalByte) {
  ReplayBuilder b(1);
  EXPECT_EQ(floatBits(headerOf(b).header.sampleInterval), 0x3C23D70Au);  // byte 0: 10 ms
  b.put<std::uint8_t>(9, 10);
  EXPECT_EQ(floatBits(headerOf(b).header.sampleInterval), 0x3C23D70Au);
  b.put<std::uint8_t>(9, 100);
  EXPECT_EQ(headerOf(b).header.sampleInterval, 0.1f);
  b.put<std::uint8_t>(9, 255);
  EXPECT_EQ(headerOf(b).header.sampleInterval, 0.255f);
}

std::array<WheelGeometry, 4> fromXY(std::array<std::array<float, 2>, 4> xy) {
  std::array<WheelGeometry, 4> g{};
  for (std::size_t w = 0; w < 4; ++w) g[w] = {xy[w][0], xy[w][1], 0.15f, 0.3f};
  return g;
}

using Slots = std::array<std::uint8_t, 4>;

TEST(AssignWheelRoles, FrontAxleFirstKeepsFileOrder) {
  EXPECT_EQ(assignWheelRoles(fromXY({{{-0.7f, 1.0f}, {0.7f, 1.0f}, {-0.7f, -1.3f}, {0.7f, -1.3f}}})),
            (Slots{0, 1, 2, 3}));
}

TEST(AssignWheelRoles, RearAxleFirstIsReordered) {
  // Front-wheel-drive cars store rear left, rear right, front left, front right.
  EXPECT_EQ(assignWheelRoles(fromXY({{{-0.7f, -1.3f}, {0.7f, -1.3f}, {-0.7f, 1.0f}, {0.7f, 1.0f}}})),
            (Slots{2, 3, 0, 1}));
  // Right before left within an axle.
  EXPECT_EQ(assignWheelRoles(fromXY({{{0.7f, 1.0f}, {-0.7f, 1.1f}, {0.7f, -1.3f}, {-0.7f, -1.2f}}})),
            (Slots{1, 0, 3, 2}));
}

TEST(AssignWheelRoles, AmbiguousGeometryKeepsFileOrder) {
  const Slots asStored{0, 1, 2, 3};
  // A front wheel level with a rear wheel: no clear front axle.
  EXPECT_EQ(assignWheelRoles(fromXY({{{-0.7f, -1.3f}, {0.7f, 1.0f}, {-0.7f, 1.0f}, {0.7f, 1.0f}}})), asStored);
  // Two wheels of an axle at the same offsetX.
  EXPECT_EQ(assignWheelRoles(fromXY({{{-0.7f, -1.3f}, {-0.7f, -1.3f}, {-0.7f, 1.0f}, {0.7f, 1.0f}}})), asStored);
  EXPECT_EQ(assignWheelRoles(fromXY({{{NAN, -1.3f}, {0.7f, -1.3f}, {-0.7f, 1.0f}, {0.7f, 1.0f}}})), asStored);
  EXPECT_EQ(assignWheelRoles(fromXY({{{0, 0}, {0, 0}, {0, 0}, {0, 0}}})), asStored);
}

TEST(ReadHeader, GeometryFollowsTheWheelRoles) {
  ReplayBuilder b(1);
  b.geometry(0, -0.7f, -1.3f, 0.1f, 0.31f).geometry(1, 0.7f, -1.3f, 0.1f, 0.32f);
  b.geometry(2, -0.7f, 1.0f, 0.1f, 0.33f).geometry(3, 0.7f, 1.0f, 0.1f, 0.34f);
  const HeaderRecords r = headerOf(b);
  EXPECT_EQ(r.geometry[frontLeft].radius, 0.33f);
  EXPECT_EQ(r.geometry[rearRight].radius, 0.32f);
}

}  // namespace
}  // namespace skidlog
