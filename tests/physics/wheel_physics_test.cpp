#include <gtest/gtest.h>

#include <cmath>

#include "physics/tyre_forces.h"
#include "physics/wheel_axes.h"
#include "physics/wheel_motion.h"
#include "physics/wheel_series.h"
#include "tests/support/replay_builder.h"

namespace skidlog {
namespace {

using test::floatBits;

void expectBits(const Vector3& v, float x, float y, float z) {
  EXPECT_EQ(floatBits(v.x), floatBits(x));
  EXPECT_EQ(floatBits(v.y), floatBits(y));
  EXPECT_EQ(floatBits(v.z), floatBits(z));
}

// A level car in world axes with the given number of samples, every series
// 0 to 6 filled with `deflection` and `steer` and zero forces.
struct LevelCar {
  explicit LevelCar(std::size_t n, float deflection = 0.0f) {
    for (std::size_t i = 0; i < n; ++i) {
      times.push_back(toFloat(static_cast<double>(i) * 0.01));
      car.position.push_back({100.0f, 50.0f, 3.0f});
      car.axisX.push_back({1, 0, 0});
      car.axisY.push_back({0, 1, 0});
      car.axisZ.push_back({0, 0, 1});
      for (WheelTrack& w : wheels) {
        w.suspensionDeflection.push_back(deflection);
        w.steer.push_back(0.0f);
        for (Series<float>* s : {&w.forceX, &w.forceY, &w.forceZ, &w.angularVelocity, &w.lean}) s->push_back(0.0f);
      }
    }
  }
  Series<float> times;
  CarTrack car;
  WheelTracks wheels;
};

TEST(WheelMotion, PositionInWorldAxes) {
  LevelCar level(2, 0.05f);
  computePosition(level.wheels[0], {-0.8f, 1.3f, 0.2f, 0.3f}, level.car);
  ASSERT_EQ(level.wheels[0].position.size(), 2u);
  // h = (0.2 - 0.3) + 0.05 in double, rounded once.
  const float h = toFloat((widen(0.2f) - widen(0.3f)) + widen(0.05f));
  expectBits(level.wheels[0].position[1], 100.0f + -0.8f, 50.0f + 1.3f, 3.0f + h);
}

TEST(WheelMotion, WheelAtTheCarReferencePoint) {
  LevelCar level(1);
  computePosition(level.wheels[1], {0, 0, 0.31f, 0.31f}, level.car);
  expectBits(level.wheels[1].position[0], 100.0f, 50.0f, 3.0f);
}

TEST(WheelMotion, DifferencesOneSidedAtTheEnds) {
  const Series<float> t = {0.0f, 0.01f, 0.02f, 0.03f};
  const Series<Vector3> s = {{0, 0, 0}, {1, 0, 0}, {3, 0, 0}, {6, 0, 0}};
  Series<Vector3> d;
  differentiate(s, t, d);
  ASSERT_EQ(d.size(), 4u);
  EXPECT_EQ(d[0].x, 1.0f / (0.01f - 0.0f));
  EXPECT_EQ(d[1].x, 3.0f / (0.02f - 0.0f));
  EXPECT_EQ(d[2].x, 5.0f / (0.03f - 0.01f));
  EXPECT_EQ(d[3].x, 3.0f / (0.03f - 0.02f));
}

TEST(WheelMotion, ShortSeries) {
  for (std::size_t n : {0u, 1u, 2u}) {
    LevelCar level(n);
    for (std::size_t i = 0; i < n; ++i) level.car.position[i].y = 50.0f + 0.2f * static_cast<float>(i);
    WheelTrack& w = level.wheels[0];
    computePosition(w, {0, 0, 0.3f, 0.3f}, level.car);
    computeDerivatives(w, level.times);
    ASSERT_EQ(w.velocity.size(), n);
    ASSERT_EQ(w.acceleration.size(), n);
    if (n == 1) expectBits(w.velocity[0], 0, 0, 0);  // no neighbour: at rest
    if (n == 2) {
      EXPECT_EQ(floatBits(w.velocity[0].y), floatBits(w.velocity[1].y));
      expectBits(w.acceleration[1], 0, 0, 0);
    }
  }
}

TEST(WheelAxes, LevelCarHasWorldAxes) {
  const Vector3 at[4] = {{-0.8f, 1.3f, 0}, {0.8f, 1.3f, 0}, {-0.8f, -1.2f, 0}, {0.8f, -1.2f, 0}};
  WheelTracks wheels;
  for (int w = 0; w < 4; ++w) {
    wheels[static_cast<std::size_t>(w)].position.push_back(at[w]);
    wheels[static_cast<std::size_t>(w)].steer.push_back(0.0f);
  }
  computeAxes(wheels[0], true, true, wheels[2], wheels[1]);
  computeAxes(wheels[3], false, false, wheels[1], wheels[2]);
  for (const WheelTrack* w : {&wheels[0], &wheels[3]}) {
    expectBits(w->lateralAxis[0], 1, 0, 0);
    expectBits(w->longitudinalAxis[0], 0, 1, 0);
    expectBits(w->normalAxis[0], 0, 0, 1);
  }
}

TEST(WheelAxes, SteerTurnsLateralAndLongitudinalOnly) {
  const float theta = 0.3f;
  const float c = toFloat(std::cos(widen(theta)));
  const float s = toFloat(std::sin(widen(theta)));
  expectBits(turned({1, 0, 0}, c, s), c, s, 0);
  expectBits(turned({0, 1, 0}, c, s), -s, c, 0);
  expectBits(turned({-0.0f, 1, 0.5f}, 1, 0), 0, 1, 0.5f);  // -0 comes out as +0
  const Vector3 spread = turned({INFINITY, 0, 0}, 1, 0);
  EXPECT_TRUE(std::isnan(spread.z));
}

TEST(WheelAxes, SteerRotationKeepsTheFloatRoundingOfSineAndCosine) {
  // A real front-wheel sample: the double cosine and sine must be rounded to
  // float before the products (a vectorising compiler once skipped that).
  WheelTracks wheels;
  const Vector3 at[4] = {{0, 0, 0}, {0x1.f809fap-1f, -0x1.66f89ap-3f, 0x1.7a80cp-7f}, {0, -2.5f, 0}, {0, 0, 0}};
  for (std::size_t w = 0; w < 4; ++w) {
    wheels[w].position.push_back(at[w]);
    wheels[w].steer.push_back(-0x1.61f8b4p-7f);
  }
  computeAxes(wheels[0], true, true, wheels[2], wheels[1]);
  EXPECT_EQ(floatBits(wheels[0].lateralAxis[0].x), floatBits(0x1.f70a46p-1f));
  EXPECT_EQ(floatBits(wheels[0].lateralAxis[0].y), floatBits(-0x1.7cba9cp-3f));
}

TEST(WheelAxes, CoincidentWheelsGiveZeroAxesAndVelocity) {
  WheelTracks wheels;
  for (WheelTrack& w : wheels) {
    w.position.push_back({1, 1, 0});
    w.steer.push_back(0.1f);
    w.velocity.push_back({0, 10, 0});
  }
  computeAxes(wheels[0], true, true, wheels[2], wheels[1]);
  computeLocalVelocity(wheels[0]);
  expectBits(wheels[0].lateralAxis[0], 0, 0, 0);
  expectBits(wheels[0].normalAxis[0], 0, 0, 0);
  expectBits(wheels[0].localVelocity[0], 0, 0, 0);
}

TEST(WheelAxes, LocalVelocityAlongTheAxes) {
  WheelTrack w;
  w.velocity = {{0, 10, 0}, {3, 0, 0}};
  w.lateralAxis = {{1, 0, 0}, {1, 0, 0}};
  w.longitudinalAxis = {{0, 1, 0}, {0, 1, 0}};
  w.normalAxis = {{0, 0, 1}, {0, 0, 1}};
  computeLocalVelocity(w);
  expectBits(w.localVelocity[0], 0, 10, 0);
  expectBits(w.localVelocity[1], 3, 0, 0);
}

TEST(TyreForces, WheelAtRestCarriesItsWeight) {
  LevelCar level(3);
  Replay replay;
  replay.sampleTimes = level.times;
  replay.car = level.car;
  replay.wheels = level.wheels;
  replay.header.wheelMass = 15.0f;
  const float x[4] = {-0.8f, 0.8f, -0.8f, 0.8f};
  const float y[4] = {1.3f, 1.3f, -1.2f, -1.2f};
  for (std::size_t w = 0; w < 4; ++w) replay.geometry[w] = {x[w], y[w], 0.3f, 0.3f};
  deriveWheelSeries(replay);
  const WheelTrack& w = replay.wheels[2];
  // 15 * (0 + 9.81f) rounded to float, then along (0, 0, 1).
  EXPECT_EQ(floatBits(w.normalLoad[1]), floatBits(15.0f * (0.0f - -9.81f)));
  EXPECT_EQ(w.longitudinalForce[1], 0.0f);
  EXPECT_EQ(w.lateralForce[1], 0.0f);
}

TEST(TyreForces, FileForcesAlongWheelAxes) {
  LevelCar level(1);
  WheelTrack& w = level.wheels[0];
  w.forceX[0] = 120.0f;
  w.forceY[0] = -850.5f;
  w.forceZ[0] = 3100.25f;
  w.acceleration = {{5, 6, 7}};
  w.lateralAxis = {{1, 0, 0}};
  w.longitudinalAxis = {{0, 1, 0}};
  w.normalAxis = {{0, 0, 1}};
  computeTyreForces(w, level.car, 0.0f);
  EXPECT_EQ(w.normalLoad[0], 3100.25f);
  EXPECT_EQ(w.longitudinalForce[0], -850.5f);
  EXPECT_EQ(w.lateralForce[0], 120.0f);
}

}  // namespace
}  // namespace skidlog
