// The replay generator keeps its promise: read back by the library, every
// row's grip is its tyre's grip at the slip and load the row shows, and the
// driver takes the rear tyres past their peak but never the fronts.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "csv/wheel_row.h"
#include "skidlog/skidlog.h"
#include "tools/generator/drive.h"
#include "tools/generator/synth.h"

namespace skidlog {
namespace {

using namespace generator;

Replay generated(const CarSetup& car, Turns turns, double seconds, double noise) {
  LapOptions lap;
  lap.turns = turns;
  lap.seconds = seconds;
  lap.noiseScale = noise;
  const std::vector<std::byte> bytes = generateLap(car, lap);
  Replay replay;
  EXPECT_EQ(loadReplay(bytes, std::uint64_t{1} << 32, replay).status, LoadStatus::loaded);
  deriveWheelSeries(replay);
  return replay;
}

// Largest |slip angle| of a wheel's rows on each side, degrees.
struct Reach {
  double left = 0.0;   // negative slip angles (left-hand corners)
  double right = 0.0;  // positive ones
};

TEST(Generator, EveryRowFollowsItsTyreCurves) {
  for (const CarSetup& car : {exampleCar(), withBrushTyres(exampleCar())}) {
    const Replay replay = generated(car, Turns::both, 20.0, 0.0);
    std::size_t rows = 0;
    for (int w = 0; w < 4; ++w) {
      const WheelTrack& wheel = replay.wheels[static_cast<std::size_t>(w)];
      const Tyre& tyre = isFront(w) ? car.front : car.rear;
      for (std::size_t i = 0; i < replay.sampleCount(); ++i) {
        if (!passesPerWheel(wheel, i)) continue;
        const WheelRow row = wheelRow(wheel, replay.geometry[static_cast<std::size_t>(w)], i);
        const double load = widen(wheel.normalLoad[i]);
        // Float rounding of the forces and the load leaves a few parts in a million.
        ASSERT_NEAR(row.lateralGrip, tyre.lateralGrip(row.slipAngle, load, isLeft(w)), 2e-5)
            << "wheel " << w << " sample " << i;
        ASSERT_NEAR(row.longitudinalGrip, tyre.longitudinalGrip(row.slipRatio, load), 2e-5)
            << "wheel " << w << " sample " << i;
        ++rows;
      }
    }
    EXPECT_EQ(rows, 4 * replay.sampleCount());
  }
}

// A brush curve has the Magic Formula curve's peak grip and slope at zero
// slip, its peak where the whole patch slides, no step there, and loses its
// share of grip far beyond; odd in the slip.
TEST(Generator, BrushCurvesKeepThePeakAndTheSlope) {
  const Tyre magic = exampleCar().front;
  const Tyre brush = brushTyre(magic);
  for (const auto& [m, b] : {std::pair{magic.lateral, brush.lateral}, std::pair{magic.longitudinal, brush.longitudinal}}) {
    const double s = b.peakSlip();
    EXPECT_NEAR(b.stiffness(), m.stiffness(), 1e-12);
    EXPECT_NEAR(b.at(1e-6 * s) / (1e-6 * s), b.stiffness(), 1e-5 * b.stiffness());
    EXPECT_DOUBLE_EQ(b.at(s), m.D);
    EXPECT_NEAR(b.at(s * (1.0 - 1e-9)), b.at(s * (1.0 + 1e-9)), 1e-8);
    EXPECT_LT(b.at(0.9 * s), m.D);
    EXPECT_LT(b.at(1.1 * s), m.D);
    EXPECT_NEAR(b.at(100.0 * s), m.D * (1.0 - b.slideFall), 1e-9);
    EXPECT_DOUBLE_EQ(b.at(-0.5 * s, 0.8), -b.at(0.5 * s, 0.8));
  }
}

TEST(Generator, DriverTakesTheRearsPastTheirPeakAndNotTheFronts) {
  const CarSetup car = exampleCar();
  const Replay replay = generated(car, Turns::both, 60.0, 1.0);
  std::array<Reach, 4> reach;
  for (std::size_t w = 0; w < 4; ++w) {
    for (std::size_t i = 0; i < replay.sampleCount(); ++i) {
      const double slip = wheelRow(replay.wheels[w], replay.geometry[w], i).slipAngle;
      reach[w].left = std::max(reach[w].left, -slip);
      reach[w].right = std::max(reach[w].right, slip);
    }
  }
  const double frontPeak = car.front.lateral.peakSlip(), rearPeak = car.rear.lateral.peakSlip();
  for (std::size_t w = 0; w < 2; ++w) {
    EXPECT_LT(reach[w].left, 0.7 * frontPeak);
    EXPECT_LT(reach[w].right, 0.7 * frontPeak);
  }
  for (std::size_t w = 2; w < 4; ++w) {
    EXPECT_GT(reach[w].left, 1.15 * rearPeak);
    EXPECT_GT(reach[w].right, 1.15 * rearPeak);
  }
}

TEST(Generator, TheCarsBalanceFollowsItsTyres) {
  CarSetup car = exampleCar();
  EXPECT_FALSE(corneringLimit(car).frontFirst);
  EXPECT_GT(understeerGradient(car), 0.0);  // softer fronts: gentle understeer below the limit
  std::swap(car.front, car.rear);
  EXPECT_TRUE(corneringLimit(car).frontFirst);
  EXPECT_LT(understeerGradient(car), 0.0);
}

}  // namespace
}  // namespace skidlog
