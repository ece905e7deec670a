// A corner number at its limit on every lap of a group (the brake pedal
// floored, no coasting) has no spread to judge a difference by: it is alike
// where both groups sit at the same limit, and not comparable where only one
// does, never claimed.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "report/analysis/compare/differences.h"
#include "report/laps/lap_analysis.h"

namespace skidlog {
namespace {

CornerGroup groupOf(std::size_t group, const std::vector<double>& peakBrakes) {
  CornerGroup g;
  g.group = group;
  g.laps = peakBrakes.size();
  g.value[peakBrake] = overLaps(peakBrakes);
  for (const double v : peakBrakes) g.atLimit[peakBrake] += atCornerLimit(peakBrake, v) ? 1u : 0u;
  return g;
}

const Difference& peakBrakeOf(const std::vector<Difference>& all) {
  for (const Difference& d : all) {
    if (d.quantity == "peak_brake") return d;
  }
  throw std::runtime_error("no peak brake difference");
}

std::vector<Difference> compare(const std::vector<double>& from, const std::vector<double>& to) {
  TrackAnalysis track;
  CornerResult c;
  c.corner.name = "T3";
  c.groups = {groupOf(0, from), groupOf(1, to)};
  track.corners.push_back(c);
  return compareLaps({track}, {"club", "record"}, {});
}

TEST(LapDifferences, PedalsAtTheirLimitOnEveryLapAreNeverClaimed) {
  const std::vector<Difference> alike = compare({1.0, 1.0}, {1.0, 1.0});
  EXPECT_EQ(peakBrakeOf(alike).verdict, noDifferenceShown);
  ASSERT_FALSE(peakBrakeOf(alike).notes.empty());
  EXPECT_NE(peakBrakeOf(alike).notes.front().find("every lap of both groups at the limit"), std::string::npos)
      << peakBrakeOf(alike).notes.front();

  const std::vector<Difference> one = compare({1.0, 1.0}, {0.80, 0.84});
  EXPECT_EQ(peakBrakeOf(one).verdict, notComparable);
  ASSERT_FALSE(peakBrakeOf(one).notes.empty());
  EXPECT_NE(peakBrakeOf(one).notes.front().find("club: full brake in 2 of 2 laps; record: full brake in 0 of 2 laps"),
            std::string::npos)
      << peakBrakeOf(one).notes.front();
}

}  // namespace
}  // namespace skidlog
