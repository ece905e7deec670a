#include "report/laps/grip/grip_envelope.h"

#include <cmath>
#include <limits>
#include <vector>

#include <gtest/gtest.h>

namespace skidlog {
namespace {

// An axle's points: `n` at each of two loads, lateral grip rising 0 to
// `most` over them, one sample apart.
WheelPoints axleAt(std::vector<float> loads, std::size_t n, float most) {
  WheelPoints p;
  std::uint32_t sample = 0;
  for (const float load : loads) {
    for (std::size_t i = 0; i < n; ++i) {
      p.lateralGrip.push_back(most * static_cast<float>(i) / static_cast<float>(n - 1));
      p.longitudinalGrip.push_back(0.0f);
      p.normalLoad.push_back(load);
      p.slipAngle.push_back(0.0f);
      p.slipRatio.push_back(0.0f);
      p.speed.push_back(30.0f);
      p.sample.push_back(sample++);
      p.block.push_back(0);
    }
  }
  return p;
}

TEST(GripEnvelope, HighQuantileByLoadBandLinearBetweenThem) {
  const WheelPoints p = axleAt({2250.0f, 3250.0f}, 1001, 1.0f);
  const std::vector<double> grip = combinedGrip(p, 0);
  const WheelPoints* axles[] = {&p};
  const std::vector<double>* grips[] = {&grip};
  const GripEnvelope e(axles, grips);
  EXPECT_NEAR(e.at(2250.0), 0.99, 1e-6);  // the 99th percentile of 0 to 1
  EXPECT_NEAR(e.at(2750.0), 0.99, 1e-6);
  EXPECT_NEAR(e.at(100.0), 0.99, 1e-6);   // level beyond the bands
  EXPECT_TRUE(std::isnan(GripEnvelope().at(2000.0)));
}

TEST(GripEnvelope, DamagedLoadsAndGripsHaveNoBand) {
  WheelPoints p = axleAt({2250.0f}, 1001, 1.0f);
  p.normalLoad[3] = 1.45e27f;  // a damaged file's load
  p.normalLoad[4] = std::numeric_limits<float>::quiet_NaN();
  p.lateralGrip[5] = std::numeric_limits<float>::infinity();
  const std::vector<double> grip = combinedGrip(p, 5);
  EXPECT_TRUE(std::isnan(grip[5]));
  EXPECT_TRUE(std::isfinite(grip[6]));  // the running mean passes over it
  const WheelPoints* axles[] = {&p};
  const std::vector<double>* grips[] = {&grip};
  const GripEnvelope e(axles, grips);
  EXPECT_TRUE(std::isfinite(e.at(2250.0)));
}

}  // namespace
}  // namespace skidlog
