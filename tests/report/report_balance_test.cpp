// The car's balance from its replays: the understeer gradient of the
// handling diagram and which axle gives up first, for generated cars whose
// tyres and weight distribution say what both must be.
#include <gtest/gtest.h>

#include <cmath>

#include "report/output/words/balance_words.h"
#include "report/report_data.h"
#include "tests/support/analysed_lap.h"
#include "tools/generator/synth.h"

namespace skidlog {
namespace {

using generator::CarSetup;

ReportGroup analysedLap(const CarSetup& car, generator::Turns turns, std::uint64_t seed = 1, double seconds = 60.0) {
  generator::LapOptions lap;
  lap.turns = turns;
  lap.seed = seed;
  lap.seconds = seconds;
  return test::analysedLap(car, lap);
}

// The slope of the car model's own front-minus-rear slip angle against
// lateral acceleration in steady cornering, over the accelerations the
// gradient was fitted to: what its tyres and weight distribution imply there.
double impliedGradient(const CarSetup& car, const Balance& b) {
  double n = 0.0, sx = 0.0, sy = 0.0, sxx = 0.0, sxy = 0.0;
  for (std::size_t i = 0; i < b.acceleration.size(); ++i) {
    const double g = b.acceleration[i];
    if (!b.steady[i] || std::fabs(g) > linearAcceleration) continue;
    const double leftward = -g * generator::standardGravity;
    const generator::PerWheel load = generator::wheelLoads(car, 0.0, leftward);
    const double force = -car.totalMass * leftward / car.wheelbase();
    const double front = generator::axleSlipAngle(car.front, load[0], load[1], force * car.cgToRearAxle).slipDeg;
    const double rear = generator::axleSlipAngle(car.rear, load[2], load[3], force * car.cgToFrontAxle).slipDeg;
    n += 1.0;
    sx += g;
    sy += front - rear;
    sxx += g * g;
    sxy += g * (front - rear);
  }
  return (n * sxy - sx * sy) / (n * sxx - sx * sx);
}

// Front and rear tyres of one shape, one axle's 10 % down in grip.
CarSetup weakerAxle(bool front) {
  CarSetup car = generator::exampleCar();
  car.front = car.rear = generator::exampleCar().rear;
  (front ? car.front : car.rear) = generator::withGrip(car.rear, 0.9);
  return car;
}

// Two minutes: a peak counts as reached only where nearly every resample shows
// the fall after it, which takes more than a lap's few corners at the limit.
TEST(Balance, TheAxleWithLessGripGivesUpFirstAndSetsTheGradientsSign) {
  const ReportGroup frontWeak = analysedLap(weakerAxle(true), generator::Turns::both, 1, 120.0);
  EXPECT_GT(frontWeak.balance.understeerGradient.ci.low, 0.0);  // understeer
  ASSERT_TRUE(frontWeak.balance.limit);
  EXPECT_EQ(*frontWeak.balance.limit, 0u);
  EXPECT_EQ(limitStatement(frontWeak.balance).rfind("At the limit the front axle saturates first (understeer)", 0), 0u);
  const ReportGroup rearWeak = analysedLap(weakerAxle(false), generator::Turns::both, 1, 120.0);
  EXPECT_LT(rearWeak.balance.understeerGradient.ci.high, 0.0);  // oversteer
  ASSERT_TRUE(rearWeak.balance.limit);
  EXPECT_EQ(*rearWeak.balance.limit, 1u);
}

TEST(Balance, TheGradientIsTheOneTheCarImplies) {
  const CarSetup car = generator::exampleCar();
  const ReportGroup group = analysedLap(car, generator::Turns::both);
  const Balance& b = group.balance;
  const double implied = impliedGradient(car, b);
  EXPECT_GT(b.fitted, 500u);
  EXPECT_LE(b.understeerGradient.ci.low, implied);
  EXPECT_GE(b.understeerGradient.ci.high, implied);
  // In the linear range the slope at zero is the textbook one, a little steeper.
  EXPECT_NEAR(implied / generator::understeerGradient(car), 1.0, 0.1);
}

TEST(Balance, LeftAndRightHandCornersGiveOneGradient) {
  const CarSetup car = generator::exampleCar();
  const Balance left = analysedLap(car, generator::Turns::left).balance;
  const Balance right = analysedLap(car, generator::Turns::right).balance;
  // A left-hand corner pulls the car to the left: negative, as lateral
  // acceleration is positive to the right; and the other way round.
  double leftSum = 0.0, rightSum = 0.0;
  for (const float a : left.acceleration) leftSum += static_cast<double>(a);
  for (const float a : right.acceleration) rightSum += static_cast<double>(a);
  EXPECT_LT(leftSum, 0.0);
  EXPECT_GT(rightSum, 0.0);
  EXPECT_GT(left.understeerGradient.value, 0.0);
  EXPECT_LE(left.understeerGradient.ci.low, right.understeerGradient.value);
  EXPECT_GE(left.understeerGradient.ci.high, right.understeerGradient.value);
  EXPECT_LE(right.understeerGradient.ci.low, left.understeerGradient.value);
  EXPECT_GE(right.understeerGradient.ci.high, left.understeerGradient.value);
}

}  // namespace
}  // namespace skidlog
