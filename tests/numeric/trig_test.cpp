// Huge angles (a damaged file's steer) must turn the wheel axes the same way
// on every platform: the float-rounded sine and cosine of reference values.
#include "numeric/trig.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>

#include "numeric/precision.h"

namespace skidlog {
namespace {

std::uint32_t bits(double v) { return std::bit_cast<std::uint32_t>(toFloat(v)); }

TEST(Trig, HugeAnglesAreReducedExactly) {
  struct Case {
    float angle;
    std::uint32_t cos, sin;
  };
  const Case cases[] = {
      {3.4028234663852886e38f, 0x3F5A5F96, 0xBF0599B3},   // the largest float
      {-3.4028234663852886e38f, 0x3F5A5F96, 0x3F0599B3},  // sine is odd, cosine even
      {1.0000000200408773e20f, 0x3F411723, 0x3F281569},
      {655360.0f, 0x3E55FADE, 0xBF7A592C},
      {1234567808.0f, 0x3E1E1DFB, 0x3F7CEE01},
      {1.770887431076117e21f, 0xBF23E9CE, 0xBF44A495},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(bits(cosine(widen(c.angle))), c.cos) << c.angle;
    EXPECT_EQ(bits(sine(widen(c.angle))), c.sin) << c.angle;
  }
}

TEST(Trig, OrdinaryAnglesAndNonFiniteGoToTheLibrary) {
  for (double a : {0.0, -0.0, 0.3, -1.25, 1000.0, 524287.9}) {
    EXPECT_EQ(cosine(a), std::cos(a)) << a;
    EXPECT_EQ(sine(a), std::sin(a)) << a;
  }
  EXPECT_TRUE(std::isnan(cosine(INFINITY)));
  EXPECT_TRUE(std::isnan(sine(-INFINITY)));
  EXPECT_TRUE(std::isnan(sine(NAN)));
}

}  // namespace
}  // namespace skidlog
