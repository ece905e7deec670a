#include "report/laps/place/lap_path.h"

#include <cmath>
#include <limits>
#include <vector>

#include <gtest/gtest.h>

namespace skidlog {
namespace {

// Ten samples 0.1 s apart, 5 m apart, placed from 0.4 m on a 50 m path.
std::vector<double> placedFrom(double first) {
  std::vector<double> d;
  for (int i = 0; i < 10; ++i) d.push_back(first + 5.0 * i);
  return d;
}

// A complete lap is at the line at 0 s and again at its lap time, whatever
// its first and last samples' places: its times between places add up to
// its lap time.
TEST(LapClock, ACompleteLapMeetsTheLineAtBothEnds) {
  const LapClock clock(placedFrom(0.4), 0.1, 50.0, 1.0, true);
  EXPECT_EQ(clock.timeAt(0.0), 0.0);
  EXPECT_EQ(clock.timeAt(50.0), 1.0);
  EXPECT_EQ(clock.reach(), 50.0);
  EXPECT_NEAR(clock.timeAt(25.4), 0.5, 1e-12);
  // The last sample placed at the line itself, 0.1 s before the lap time:
  // the line is met at the lap time, not at that sample.
  std::vector<double> late = placedFrom(0.0);
  late.back() = 50.0;
  const LapClock pinned(late, 0.1, 50.0, 1.0, true);
  EXPECT_EQ(pinned.timeAt(50.0), 1.0);
  EXPECT_LT(pinned.timeAt(49.9), 1.0);
  EXPECT_EQ(pinned.distanceAt(1.0), 50.0);
}

// A partial lap keeps its samples' own places: no time before its first, none
// past its last.
TEST(LapClock, APartialLapIsNotPinned) {
  const LapClock clock(placedFrom(0.4), 0.1, 50.0, std::numeric_limits<double>::quiet_NaN(), false);
  EXPECT_TRUE(std::isnan(clock.timeAt(0.0)));
  EXPECT_TRUE(std::isnan(clock.timeAt(46.0)));
  EXPECT_EQ(clock.timeAt(45.4), 0.9);
}

// A lap whose positions put it 3 m short of the reference's split place at
// its recorded split time passes that place at its split time once pinned:
// its places stretch between the line and the split and shrink after it, in
// order, and a complete lap still meets the line at its lap time. A split
// recorded far from where the positions put it is left alone.
TEST(LapClock, SplitsArePinnedToTheReferencesPlaces) {
  std::vector<double> d = placedFrom(0.0);
  LapClock clock(d, 0.1, 50.0, 1.0, true);
  const std::vector<double> at{23.0, 40.0};
  const std::vector<double> times{0.4, 0.8};  // the positions say 20 and 40 m
  const std::vector<double> shift = pinToSplits(d, clock, at, times, 50.0, true);
  ASSERT_EQ(shift.size(), 2u);
  EXPECT_NEAR(shift[0], 3.0, 1e-12);
  EXPECT_NEAR(shift[1], 0.0, 1e-12);
  const LapClock pinned(d, 0.1, 50.0, 1.0, true);
  EXPECT_NEAR(pinned.timeAt(23.0), 0.4, 1e-12);
  EXPECT_NEAR(pinned.timeAt(40.0), 0.8, 1e-12);
  EXPECT_EQ(pinned.timeAt(50.0), 1.0);
  for (std::size_t i = 1; i < d.size(); ++i) EXPECT_GT(d[i], d[i - 1]);

  std::vector<double> far = placedFrom(0.0);
  const std::vector<double> wild{20.0 + maxSplitPin + 1.0};
  const std::vector<double> early{0.4};
  EXPECT_TRUE(std::isnan(pinToSplits(far, clock, wild, early, 50.0, true)[0]));
  EXPECT_EQ(far, placedFrom(0.0));
}

}  // namespace
}  // namespace skidlog
