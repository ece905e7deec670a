#include "numeric/vector3.h"

#include <gtest/gtest.h>

#include <cmath>

#include "tests/support/replay_builder.h"

namespace skidlog {
namespace {

using test::floatBits;

void expectBits(const Vector3& v, float x, float y, float z) {
  EXPECT_EQ(floatBits(v.x), floatBits(x));
  EXPECT_EQ(floatBits(v.y), floatBits(y));
  EXPECT_EQ(floatBits(v.z), floatBits(z));
}

TEST(Vector3, CrossFollowsOperandOrder) {
  expectBits(cross({1, 0, 0}, {0, 1, 0}), 0, 0, 1);
  expectBits(cross({0, 1, 0}, {1, 0, 0}), 0, 0, -1);
  expectBits(cross({1, 2, 3}, {2, 4, 6}), 0, 0, 0);
  Vector3 a(0.3f, -1.7f, 2.9f);
  const Vector3 b(-4.1f, 0.2f, 1.3f);
  const Vector3 fresh = cross(a, b);
  a = cross(a, b);  // stored over its own operand
  expectBits(a, fresh.x, fresh.y, fresh.z);
}

TEST(Vector3, CrossRoundsOnceFromDouble) {
  // x = (1 + 2^-23)(1 - 2^-24) - 1 = 2^-24 - 2^-47, exact in double; products
  // rounded to float would cancel to 0.
  const Vector3 c = cross({0, 1.0f + 0x1p-23f, 1}, {0, 1, 1.0f - 0x1p-24f});
  EXPECT_EQ(floatBits(c.x), floatBits(0x1p-24f - 0x1p-47f));
}

TEST(Vector3, DotAndLengthInDouble) {
  EXPECT_EQ(dot({1, 2, 3}, {4, 5, 6}), 32.0);
  EXPECT_EQ(length({3, 4, 0}), 5.0);
  EXPECT_EQ(length({0, 0, 0}), 0.0);
  // Exact products: 0.1f squared is kept to 48 bits before the sum.
  EXPECT_EQ(dot({0.1f, 0, 0}, {0.1f, 0, 0}), widen(0.1f) * widen(0.1f));
}

TEST(Vector3, DivideByZeroGivesInfinitiesAndNaN) {
  const Vector3 q = Vector3(2, -3, 0) / 0.0f;
  EXPECT_EQ(q.x, INFINITY);
  EXPECT_EQ(q.y, -INFINITY);
  EXPECT_TRUE(std::isnan(q.z));
}

}  // namespace
}  // namespace skidlog
