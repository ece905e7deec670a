#include "report/laps/corners/driver_actions.h"

#include <cmath>
#include <tuple>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

namespace skidlog {
namespace {

// A lap along a straight reference path on the x axis, one sample a metre
// (so each sample's place is its x), `interval` apart (10 ms unless a test
// says); the car 2 m to the left of
// the path (y = 2) and the corner a left-hander from 40 to 80 m, apex at 60.
struct StraightLap {
  static constexpr std::size_t n = 120;
  LapSamples lap;
  LapPath path;
  std::vector<double> distance;
  TrackCorner corner;
  double interval = 0.01;

  StraightLap() {
    for (std::size_t i = 0; i < n; ++i) {
      distance.push_back(static_cast<double>(i));
      lap.x.push_back(static_cast<float>(i));
      lap.y.push_back(2.0f);
      lap.speed.push_back(30.0f);
      lap.throttle.push_back(1.0f);
      lap.brake.push_back(0.0f);
      lap.steerDeg.push_back(0.0f);
      lap.gear.push_back(4.0f);
      path.x.push_back(static_cast<double>(i));
      path.y.push_back(0.0);
      path.s.push_back(static_cast<double>(i));
    }
    corner.left = true;
    corner.start = 40.0;
    corner.apex = 60.0;
    corner.end = 80.0;
  }
  void set(std::vector<float>& v, std::size_t from, std::size_t to, float value) {
    for (std::size_t i = from; i < to; ++i) v[i] = value;
  }
  CornerActions actions() { return cornerActions(corner, {10.0, 110.0}, distance, lap, path, interval); }
};

TEST(DriverActions, BrakingMinimumSpeedThrottleAndLine) {
  StraightLap s;
  s.set(s.lap.throttle, 12, 62, 0.0f);
  s.set(s.lap.brake, 5, 15, 0.5f);    // began before the previous corner's end: not this corner's
  s.set(s.lap.brake, 20, 25, 0.3f);   // pumped: one zone with the run after it
  s.set(s.lap.brake, 30, 45, 0.8f);   // the last run before the apex
  s.lap.brake[33] = 0.95f;
  s.lap.speed[57] = 20.0f;
  s.lap.gear[57] = 2.0f;
  s.set(s.lap.throttle, 62, 70, 0.5f);  // back on at 62, full at 70
  s.lap.steerDeg[60] = 35.0f;
  const CornerActions a = s.actions();
  EXPECT_EQ(a.brakeAt, 20.0);
  EXPECT_EQ(a.brakeReleaseAt, 45.0);
  EXPECT_NEAR(a.peakBrake, 0.95, 1e-6);
  EXPECT_EQ(a.minSpeedAt, 57.0);
  EXPECT_EQ(a.gearAtMinSpeed, 2.0);
  EXPECT_EQ(a.throttleOnAt, 62.0);
  EXPECT_EQ(a.fullThrottleAt, 70.0);
  EXPECT_NEAR(a.coastSeconds, 0.17, 1e-12);  // 45 to 61, neither pedal
  EXPECT_NEAR(a.lineApex, 2.0, 1e-12);       // left of the path, inside a left-hander
  EXPECT_NEAR(a.steerApexDeg, 35.0, 1e-6);
  EXPECT_FALSE(a.pedalsClamped);
  s.corner.left = false;
  EXPECT_NEAR(s.actions().lineEntry, -2.0, 1e-12);  // outside a right-hander
}

// Samples 0.1 s apart: a gap of 10 samples is a second, 3 of full throttle
// are 0.3 s. Runs of brake are one zone across a short gap without full
// throttle (a pumped pedal, a downshift's blip, a dab after the main stop);
// a second's gap, or 0.3 s of full throttle, starts the zone anew.
TEST(DriverActions, TheBrakingZoneBeginsWhereBrakingStarts) {
  const auto brakeAt = [](const std::vector<std::pair<std::size_t, std::size_t>>& runs, std::size_t fullFrom = 0,
                          std::size_t fullTo = 0) {
    StraightLap s;
    s.interval = 0.1;
    s.set(s.lap.throttle, 12, 62, 0.0f);
    s.set(s.lap.throttle, fullFrom, fullTo, 1.0f);
    for (const auto& [from, to] : runs) s.set(s.lap.brake, from, to, 0.6f);
    const CornerActions a = s.actions();
    return std::tuple{a.brakeAt, a.brakeReleaseAt};
  };
  EXPECT_EQ(brakeAt({{20, 24}, {27, 35}}), std::tuple(20.0, 35.0));
  EXPECT_EQ(brakeAt({{20, 24}, {27, 35}}, 25, 27), std::tuple(20.0, 35.0));  // a 0.2 s blip
  EXPECT_EQ(brakeAt({{20, 24}, {27, 35}}, 24, 27), std::tuple(27.0, 35.0));  // 0.3 s of full throttle
  EXPECT_EQ(brakeAt({{15, 18}, {28, 35}}), std::tuple(28.0, 35.0));          // a second apart
  // The main stop and two dabs after it, all before the apex.
  EXPECT_EQ(brakeAt({{30, 45}, {50, 52}, {55, 57}}), std::tuple(30.0, 57.0));
  // A run that began before the previous corner's end is that corner's.
  EXPECT_EQ(brakeAt({{5, 12}, {15, 30}}), std::tuple(15.0, 30.0));
}

// Full throttle is where the throttle stays full to the corner's end, while
// the car may still slow; a lift before the end moves it to the full
// throttle after; a left foot's dab of brake does not end it.
TEST(DriverActions, FullThrottleIsWhereItStaysFull) {
  StraightLap s;
  s.set(s.lap.throttle, 12, 50, 0.0f);
  s.set(s.lap.brake, 30, 45, 0.8f);
  for (std::size_t i = 40; i < 76; ++i) s.lap.speed[i] = static_cast<float>(100 - i);  // slowest at 75
  s.set(s.lap.throttle, 50, s.n, 0.95f);
  s.set(s.lap.brake, 60, 62, 0.3f);
  EXPECT_EQ(s.actions().minSpeedAt, 75.0);
  EXPECT_EQ(s.actions().fullThrottleAt, 50.0);
  s.set(s.lap.throttle, 70, 78, 0.5f);
  EXPECT_EQ(s.actions().fullThrottleAt, 78.0);
  s.set(s.lap.throttle, 70, 85, 0.5f);  // still part throttle at the corner's end (80)
  EXPECT_EQ(s.actions().fullThrottleAt, 85.0);
}

TEST(DriverActions, NoBrakingNoPlaceAndFullThrottleThroughout) {
  StraightLap s;
  const CornerActions a = s.actions();
  EXPECT_TRUE(std::isnan(a.brakeAt));
  EXPECT_TRUE(std::isnan(a.peakBrake));
  // Taken flat: no lift, so no throttle place to speak of, and no coasting.
  EXPECT_EQ(a.lifts, false);
  EXPECT_TRUE(std::isnan(a.throttleOnAt));
  EXPECT_TRUE(std::isnan(a.fullThrottleAt));
  EXPECT_EQ(a.coastSeconds, 0.0);
}

// Two corners on the straight: the first from 40 to 80 m, the second from
// 90 to 105 m. Each corner's throttle place is its own: a lift whose throttle
// comes back past the next corner's start belongs to that corner, and a
// corner taken flat after a lift has no throttle place of its own.
TEST(DriverActions, TheThrottleIsFoundInItsOwnCorner) {
  StraightLap s;
  const TrackCorner first = s.corner;
  TrackCorner second = s.corner;
  second.start = 90.0;
  second.apex = 97.0;
  second.end = 105.0;
  const auto both = [&](std::size_t liftFrom = 0) {
    const CornerActions a = cornerActions(first, {10.0, second.start, liftFrom}, s.distance, s.lap, s.path, 0.01);
    const std::size_t on = a.throttleOnSample == static_cast<std::size_t>(-1) ? liftFrom : a.throttleOnSample;
    const CornerActions b = cornerActions(second, {first.end, 115.0, on}, s.distance, s.lap, s.path, 0.01);
    return std::pair{a, b};
  };
  // Lifts in the first, back on at 70 and flat through the second.
  s.set(s.lap.throttle, 50, 70, 0.0f);
  auto [a, b] = both();
  EXPECT_EQ(a.lifts, true);
  EXPECT_EQ(a.throttleOnAt, 70.0);
  EXPECT_EQ(a.fullThrottleAt, 70.0);
  EXPECT_EQ(b.lifts, false);
  EXPECT_TRUE(std::isnan(b.throttleOnAt));
  EXPECT_EQ(b.coastSeconds, 0.0);
  // A gear change up between them, the throttle lifted for 0.06 s: not a lift
  // for the second corner. The same lift without the gear change is one.
  s.set(s.lap.throttle, 84, 90, 0.0f);
  s.set(s.lap.gear, 90, s.n, 5.0f);
  std::tie(a, b) = both();
  EXPECT_EQ(b.lifts, false);
  s.set(s.lap.gear, 90, s.n, 4.0f);
  std::tie(a, b) = both();
  EXPECT_EQ(b.lifts, true);
  EXPECT_EQ(b.throttleOnAt, 90.0);
  s.set(s.lap.throttle, 84, 90, 1.0f);
  // Back on only at 85, past the first corner's end but before the second:
  // still the first's, and the second is flat.
  s.set(s.lap.throttle, 50, 85, 0.0f);
  std::tie(a, b) = both();
  EXPECT_EQ(a.throttleOnAt, 85.0);
  EXPECT_EQ(b.lifts, false);
  // Back on at 95, inside the second corner: the second owns it.
  s.set(s.lap.throttle, 50, 95, 0.0f);
  std::tie(a, b) = both();
  EXPECT_EQ(a.lifts, true);
  EXPECT_TRUE(std::isnan(a.throttleOnAt));
  EXPECT_TRUE(std::isnan(a.fullThrottleAt));
  EXPECT_EQ(b.lifts, true);
  EXPECT_EQ(b.throttleOnAt, 95.0);
  // A part throttle after the slowest point: full throttle comes later.
  s.set(s.lap.throttle, 95, 100, 0.5f);
  EXPECT_EQ(both().second.fullThrottleAt, 100.0);
}

// A 100 ms lap's samples straddle the corner's end: the slower one just past
// it belongs to the next corner, and the lowest speed is the corner's own.
TEST(DriverActions, LowestSpeedOnlyInsideTheCorner) {
  StraightLap s;
  s.corner.end = 79.5;
  s.lap.speed[70] = 25.0f;
  s.lap.speed[80] = 20.0f;
  EXPECT_EQ(s.actions().minSpeedAt, 70.0);
  s.corner.start = 60.2;  // no sample inside the corner at all
  s.corner.end = 60.8;
  EXPECT_TRUE(std::isnan(s.actions().minSpeedAt));
}

TEST(DriverActions, DamagedPedalsAndGearAreClampedOrLeftOut) {
  StraightLap s;
  s.set(s.lap.brake, 30, 45, 7.0f);
  s.lap.brake[31] = std::nanf("");
  s.lap.throttle[90] = -3.0f;
  s.set(s.lap.gear, 0, StraightLap::n, 200.0f);
  const CornerActions a = s.actions();
  EXPECT_TRUE(a.pedalsClamped);
  EXPECT_EQ(a.peakBrake, 1.0);
  EXPECT_EQ(a.brakeAt, 30.0);  // the NaN sample is not pressed: a gap within one zone
  EXPECT_TRUE(a.gearOutOfRange);
  EXPECT_TRUE(std::isnan(a.gearAtMinSpeed));
  // A lap that does not reach the corner has none of it.
  s.distance.assign(StraightLap::n, std::nan(""));
  EXPECT_TRUE(std::isnan(s.actions().minSpeedAt));
}

}  // namespace
}  // namespace skidlog
