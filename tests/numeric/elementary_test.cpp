// The report's fits must end on the same digits on Linux and Windows: these
// functions give the same bits everywhere (the table holds them, and the test
// runs on both), and stay within a few units in the last place of the C
// library's values.
#include "numeric/elementary.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <utility>

#include "report/fit/random.h"

namespace skidlog {
namespace {

std::uint64_t bits(double v) { return std::bit_cast<std::uint64_t>(v); }

TEST(Elementary, TheSameBitsOnEveryPlatform) {
  struct Case {
    double x;
    std::uint64_t sin, cos, atan;
  };
  const Case cases[] = {
      {0x1p-1, 0x3fdeaee8744b05f0u, 0x3fec1528065b7d50u, 0x3fddac670561bb4fu},
      {-0x1.4p+0, 0xbfee5e14fe11418cu, 0x3fd42e3dd88bd952u, 0xbfecac7c57846f9fu},
      {0x1.8p+1, 0x3fc210386db6d55bu, 0xbfefae04be85e5d2u, 0x3ff3fc176b7a8560u},
      {0x1.fp+2, 0x3fefd3c0d19d91a6u, 0x3fba924459c41abdu, 0x3ff7145eac2088a3u},
      {0x1.9p+6, 0xbfe03425b78c4db8u, 0x3feb981dbf665fdfu, 0x3ff8f905eb2def21u},
      {0x1.0624dd2f1a9fcp-10, 0x3f50624da5218a62u, 0x3feffffef390876cu, 0x3f50624d77516e16u},
      {0x1.d4cp+17, 0x3fed796998534509u, 0x3fd8ebd909a36046u, 0x3ff921f6f5c905e9u},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(bits(portable::sin(c.x)), c.sin) << c.x;
    EXPECT_EQ(bits(portable::cos(c.x)), c.cos) << c.x;
    EXPECT_EQ(bits(portable::atan(c.x)), c.atan) << c.x;
    const portable::SineCosine both = portable::sinCos(c.x);
    EXPECT_EQ(bits(both.sine), c.sin) << c.x;
    EXPECT_EQ(bits(both.cosine), c.cos) << c.x;
  }
  EXPECT_EQ(bits(portable::asin(0x1.3333333333333p-2)), 0x3fd380159e14f6ffu);
  EXPECT_EQ(bits(portable::asin(-0x1.ff7ced916872bp-1)), 0xbff86ac9ad18f803u);
  EXPECT_EQ(bits(portable::asin(0x1p-4)), 0x3fb002abde95361au);
  EXPECT_EQ(bits(portable::atan2(-0.75, -2.5)), 0xc006cd1407805737u);
}

// e^x across its scaling by 2^k: where the power of two is a normal double and
// the product rounds once (subnormal results from k = -1022 down), and where
// it is not (k below -1022, k = 1024). The bits are those of the scaling by
// the C library's ldexp, which every fit's likelihood was first written with.
TEST(Elementary, ExpScalesByItsPowerOfTwoAsLdexpDoes) {
  const std::pair<double, std::uint64_t> cases[] = {
      {-0x1.748cccccccccdp+9, 0x0000000000000001u}, {-0x1.748p+9, 0x0000000000000001u},
      {-0x1.7433333333333p+9, 0x0000000000000001u}, {-0x1.72p+9, 0x0000000000000055u},
      {-0x1.682p+9, 0x000000077564144fu},           {-0x1.628cccccccccdp+9, 0x0007eabddec4fd38u},
      {-0x1.6233333333333p+9, 0x000ff15b469edf89u}, {-0x1.6231eb851eb85p+9, 0x00101a5ff6ed496bu},
      {-0x1.62p+9, 0x0017c8ab2288c9acu},            {-0x1p-1, 0x3fe368b2fc6f960au},
      {-0x1.56e1fc2f8f359p-997, 0x3ff0000000000000u}, {0x0p+0, 0x3ff0000000000000u},
      {0x1p-1, 0x3ffa61298e1e069cu},                {0x1p+0, 0x4005bf0a8b14576au},
      {0x1.5ep+9, 0x7f0d945df4f8ec8eu},             {0x1.62cp+9, 0x7fe81e9b4b52d0c9u},
      {0x1.62e3d70a3d70ap+9, 0x7fefe9ce5c4c52b4u},
  };
  for (const auto& [x, expected] : cases) EXPECT_EQ(bits(portable::exp(x)), expected) << x;
}

// glibc's sine, cosine and arctangent are within an ulp of the truth; other C
// libraries (msvcrt's) are further off, so they are no yardstick.
#ifdef __GLIBC__
constexpr bool accurateLibrary = true;
#else
constexpr bool accurateLibrary = false;
#endif

// Within a few units in the last place of an accurate library's value over
// the range the fits use, and the edges: signs, zeros, infinities, NaN.
TEST(Elementary, CloseToTheLibraryAndRightAtTheEdges) {
  const auto ulps = [](double mine, double library) {
    if (mine == library) return 0.0;
    return std::fabs(mine - library) / std::fabs(std::nextafter(library, INFINITY) - library);
  };
  Random random(reportSeed);
  for (int k = 0; accurateLibrary && k < 200000; ++k) {
    const double x = (static_cast<double>(random.below(1u << 30)) / (1u << 30) - 0.5) * 40.0;
    const double t = static_cast<double>(random.below(1u << 30)) / (1u << 29) - 1.0;
    EXPECT_LE(ulps(portable::sin(x), std::sin(x)), 4.0) << x;
    EXPECT_LE(ulps(portable::cos(x), std::cos(x)), 4.0) << x;
    EXPECT_LE(ulps(portable::atan(x), std::atan(x)), 4.0) << x;
    EXPECT_LE(ulps(portable::asin(t), std::asin(t)), 8.0) << t;
    EXPECT_LE(ulps(portable::atan2(t, x), std::atan2(t, x)), 8.0) << t << " " << x;
  }
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_EQ(portable::atan(inf), portable::halfPi);
  EXPECT_EQ(portable::atan(-inf), -portable::halfPi);
  EXPECT_TRUE(std::signbit(portable::atan(-0.0)));
  EXPECT_TRUE(std::signbit(portable::sin(-0.0)));
  EXPECT_EQ(portable::cos(0.0), 1.0);
  EXPECT_EQ(portable::asin(1.0), portable::halfPi);
  EXPECT_TRUE(std::isnan(portable::asin(1.5)));
  EXPECT_TRUE(std::isnan(portable::sin(inf)));
  EXPECT_TRUE(std::isnan(portable::atan(std::nan(""))));
  EXPECT_EQ(portable::atan2(0.0, -1.0), 2.0 * portable::halfPi);
  EXPECT_EQ(portable::atan2(1.0, 0.0), portable::halfPi);
}

}  // namespace
}  // namespace skidlog
