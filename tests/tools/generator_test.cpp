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

// The example car with tyres whose cornering stiffness flattens out at 4500 N.
CarSetup loadSensitiveCar() {
  CarSetup car = exampleCar();
  car.front.stiffnessPeakLoad = car.rear.stiffnessPeakLoad = 4500.0;
  return car;
}

TEST(Generator, EveryRowFollowsItsTyreCurves) {
  for (const CarSetup& car : {exampleCar(), withBrushTyres(exampleCar()), loadSensitiveCar()}) {
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

// Force per degree rises with load and flattens out at the stiffness's peak
// load; the peak grip keeps its own sensitivity, the nominal load its curve,
// and the peak slip grows with the load.
TEST(Generator, CorneringStiffnessRisesWithLoadAndFlattensOut) {
  const Tyre tyre = loadSensitiveCar().front;
  const auto forcePerDegree = [&](double load) { return tyre.corneringStiffness(load) * load; };
  EXPECT_LT(forcePerDegree(1500.0), forcePerDegree(3000.0));
  EXPECT_LT(forcePerDegree(3000.0), forcePerDegree(4500.0));
  EXPECT_GT(forcePerDegree(4500.0), forcePerDegree(4400.0));
  EXPECT_GT(forcePerDegree(4500.0), forcePerDegree(4600.0));
  EXPECT_LT(forcePerDegree(6000.0), 1.25 * forcePerDegree(3000.0));  // twice the load, far less than twice
  for (const double load : {1500.0, 3000.0, 6000.0}) {
    const GripCurve curve = tyre.lateralAt(load);
    EXPECT_NEAR(curve.stiffness(), tyre.corneringStiffness(load), 1e-12);
    EXPECT_NEAR(curve.at(1e-6) / 1e-6, tyre.corneringStiffness(load), 1e-6);
    EXPECT_DOUBLE_EQ(curve.D, tyre.lateral.D * tyre.peakScale(load));
  }
  EXPECT_NEAR(tyre.lateralAt(tyre.nominalLoad).B, tyre.lateral.B, 1e-15);
  EXPECT_DOUBLE_EQ(tyre.camberThrustAt(tyre.nominalLoad), tyre.camberThrust);
  EXPECT_LT(tyre.lateralPeakSlip(1500.0), tyre.lateralPeakSlip(3000.0));
  EXPECT_LT(tyre.lateralPeakSlip(3000.0), tyre.lateralPeakSlip(6000.0));
  // Without the law every load's curve has the nominal one's shape.
  const Tyre plain = exampleCar().front;
  EXPECT_EQ(plain.lateralAt(6000.0).B, plain.lateral.B);
  EXPECT_EQ(plain.camberThrustAt(6000.0), plain.camberThrust);
}

// An axle's two wheels peak at different slips under load transfer: its peak
// is the most they give together, between their own peaks, and below it the
// slip found gives the force asked for.
TEST(Generator, AnAxlesPeakIsTheMostItsWheelsGiveTogether) {
  const Tyre tyre = loadSensitiveCar().front;
  const double inner = 1200.0, outer = 5000.0, side = 1.0;
  const auto force = [&](double slip) {
    return inner * tyre.lateralGrip(slip, inner, true) + outer * tyre.lateralGrip(slip, outer, false);
  };
  const AxlePeak peak = axlePeak(tyre, inner, outer, side);
  EXPECT_GT(peak.slip, tyre.lateralPeakSlip(inner));
  EXPECT_LT(peak.slip, tyre.lateralPeakSlip(outer));
  EXPECT_NEAR(peak.force, force(peak.slip), 1e-9 * peak.force);
  for (double slip = 0.0; slip < 40.0; slip += 0.05) EXPECT_LE(force(slip), peak.force * (1.0 + 1e-12)) << slip;
  const AxleSlip below = axleSlipAngle(tyre, inner, outer, 0.9 * peak.force);
  EXPECT_FALSE(below.atLimit);
  EXPECT_LT(below.slipDeg, peak.slip);
  EXPECT_NEAR(force(below.slipDeg), 0.9 * peak.force, 1e-6 * peak.force);
  const AxleSlip beyond = axleSlipAngle(tyre, inner, outer, 1.1 * peak.force);
  EXPECT_TRUE(beyond.atLimit);
  EXPECT_EQ(beyond.slipDeg, peak.slip);
}

// With the cornering stiffness flattening out, load moved onto an axle's
// outside wheel costs that axle grip per degree: a larger front share of the
// lateral load transfer makes the car understeer more, in the linear range a
// little and at the limit a lot. With stiffness in proportion to the peak,
// the larger camber thrust of the loaded outside front wins instead.
TEST(Generator, ALargerFrontShareUndersteersMoreWhereTheStiffnessFlattens) {
  const auto withShare = [](CarSetup car, double share) {
    car.frontRollShare = share;
    return car;
  };
  const CarSetup sensitive = loadSensitiveCar();
  const double soft = understeerGradient(withShare(sensitive, 0.45));
  const double middle = understeerGradient(withShare(sensitive, 0.55));
  const double stiff = understeerGradient(withShare(sensitive, 0.70));
  EXPECT_LT(soft, middle);
  EXPECT_LT(middle, stiff);
  EXPECT_GT(stiff - soft, 0.04);
  // Right-hand cornering at 0.9 g: the difference of slip angles, positive
  // understeering, grows by over a degree.
  const double g = standardGravity;
  EXPECT_GT(steadySlipDifference(withShare(sensitive, 0.70), -0.9 * g) -
                steadySlipDifference(withShare(sensitive, 0.45), -0.9 * g),
            1.0);
  EXPECT_GT(understeerGradient(withShare(exampleCar(), 0.45)), understeerGradient(withShare(exampleCar(), 0.70)));
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
