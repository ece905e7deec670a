// The car's balance from its replays: the understeer gradient of the
// handling diagram and which axle gives up first, for generated cars whose
// tyres and weight distribution say what both must be.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "report/output/words/balance_words.h"
#include "report/report_data.h"
#include "tests/support/analysed_lap.h"
#include "tests/support/report_json.h"
#include "tests/support/temp_dir.h"
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
    const double difference = generator::steadySlipDifference(car, -g * generator::standardGravity);
    n += 1.0;
    sx += g;
    sy += difference;
    sxx += g * g;
    sxy += g * difference;
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
  // The stated gradient spreads its accelerations evenly, the lap does not.
  EXPECT_NEAR(implied / generator::understeerGradient(car), 1.0, 0.05);
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

// Three laps a side of a car whose cornering stiffness flattens out with
// load, the front share of the lateral load transfer 0.45 against 0.70: the
// report measures the gradient the generator states for each, finds the
// middle of most corners understeering more, and the bars it ties to those
// corners agree with that.
TEST(BalanceStudy, AStifferFrontShareUndersteersMoreAsTheCarStates) {
  test::TempDir dir;
  std::vector<std::string> args;
  double stated[2] = {};
  for (const double share : {0.45, 0.70}) {
    CarSetup car = generator::exampleCar();
    car.front.stiffnessPeakLoad = car.rear.stiffnessPeakLoad = 4500.0;
    car.frontRollShare = share;
    stated[share > 0.5 ? 1 : 0] = generator::understeerGradient(car);
    if (share > 0.5) args.push_back("--vs");
    for (std::uint64_t seed = 1; seed <= 3; ++seed) {
      generator::LapOptions lap;
      lap.wholeLap = true;
      lap.consistency = 0.5;
      lap.seed = seed;
      args.push_back(test::writeLap(dir / (std::to_string(share) + "-" + std::to_string(seed) + ".raf"), car, lap));
    }
  }
  const nlohmann::json j = test::reportJson(dir / "report.json", args);
  const double measured = j["groups"][1]["balance"]["understeer_gradient"].get<double>() -
                          j["groups"][0]["balance"]["understeer_gradient"].get<double>();
  const double change = stated[1] - stated[0];
  EXPECT_GT(change, 0.04);
  EXPECT_NEAR(measured, change, change / 3.0);
  int compared = 0;
  std::vector<std::string> higherCorners;
  for (const auto& d : j["differences"]) {
    if (d["quantity"] != "understeer_middle_deg") continue;
    ++compared;
    if (d["verdict"] == "higher") higherCorners.push_back(d["where"].get<std::string>());
    EXPECT_NE(d["verdict"], "lower") << d["where"];
  }
  const auto higher = static_cast<int>(higherCorners.size());
  EXPECT_GT(2 * higher, compared) << higher << " of " << compared;
  // The links to the front share (its rule is the middle's) and to the bars.
  int agreeing = 0;
  for (const auto& finding : j["findings"]) {
    for (const auto& corner : finding["corners"]) {
      const std::string name = corner["corner"].get<std::string>();
      const bool claimed = std::find(higherCorners.begin(), higherCorners.end(), name) != higherCorners.end();
      if (!claimed || !corner.contains("why")) continue;
      for (const auto& link : corner["why"]) {
        const std::string quantity = link["quantity"].get<std::string>();
        const bool share = link["link"] == "platform" && quantity == "lltd_front" && link["phase"] == "middle";
        const bool bar = link["link"] == "setup" && quantity.starts_with("anti_roll");
        if (!share && !bar) continue;
        EXPECT_EQ(link["agrees"], true) << name << " " << link.dump();
        ++agreeing;
      }
    }
  }
  EXPECT_GT(agreeing, 0);
}

}  // namespace
}  // namespace skidlog
