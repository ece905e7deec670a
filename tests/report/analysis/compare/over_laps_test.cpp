#include "report/analysis/compare/over_laps.h"

#include <cmath>
#include <cstddef>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "report/analysis/compare/differences.h"
#include "report/fit/statistics.h"
#include "report/laps/lap_analysis.h"
#include "report/laps/lap_claims.h"
#include "report/output/words/difference_words.h"
#include "report/quantity/quantities.h"
#include "tools/generator/noise.h"

namespace skidlog {
namespace {

TEST(OverLaps, StudentQuantilesMatchTheDistribution) {
  EXPECT_NEAR(studentT975(1), 12.7062, 1e-4);
  EXPECT_NEAR(studentT975(2), 4.3027, 1e-4);
  EXPECT_NEAR(studentT975(4), 2.7764, 1e-4);
  EXPECT_NEAR(studentT975(30), 2.0423, 1e-4);
  EXPECT_NEAR(studentT975(31), 2.0395, 1e-4);  // the series, past the table
  EXPECT_NEAR(studentT975(120), 1.9799, 1e-4);
  for (int df = 1; df < 200; ++df) EXPECT_GT(studentT975(df), studentT975(df + 1)) << df;
}

TEST(OverLaps, MeanSpreadAndIntervalOfAFewLaps) {
  const std::vector<double> laps = {60.0, 61.0, std::nan(""), 62.0};
  const OverLaps o = overLaps(laps);
  EXPECT_EQ(o.laps, 3u);
  EXPECT_EQ(o.mean, 61.0);
  EXPECT_EQ(o.spread, 1.0);
  EXPECT_NEAR(o.ci.high - o.mean, 4.302652729911275 / std::sqrt(3.0), 1e-12);
  const OverLaps one = overLaps(std::vector<double>{60.5});
  EXPECT_FALSE(one.hasInterval());
  EXPECT_EQ(one.ci.low, 60.5);
  EXPECT_FALSE(overLaps(std::vector<double>{}).known());
}

// Many groups of n laps drawn from one normal distribution: how often the
// interval holds the true mean, and how often a difference between two such
// groups (of the same distribution) is claimed.
struct Coverage {
  int held = 0;
  int claimed = 0;
  int trials = 0;
};

Coverage simulate(std::size_t nFrom, std::size_t nTo, std::uint64_t seed) {
  generator::Noise noise(seed);
  Coverage c;
  std::vector<double> a, b;
  for (int trial = 0; trial < 4000; ++trial) {
    a.clear();
    b.clear();
    for (std::size_t k = 0; k < nFrom; ++k) a.push_back(10.0 + noise.gauss(0.3));
    for (std::size_t k = 0; k < nTo; ++k) b.push_back(10.0 + noise.gauss(0.3));
    const OverLaps from = overLaps(a), to = overLaps(b);
    if (from.hasInterval()) c.held += from.ci.low <= 10.0 && 10.0 <= from.ci.high;
    const Difference d = compareOverLaps(from, to, {0, 1, "T1"}, "corner_time_s", 0.001);
    c.claimed += claimed(d.verdict);
    ++c.trials;
  }
  return c;
}

TEST(OverLaps, IntervalsHoldTheirCoverageFromTwoLaps) {
  for (std::size_t n = 2; n <= 5; ++n) {
    const Coverage c = simulate(n, n, 100 + n);
    // 95 % nominal: 4,000 trials put 93.5 to 96.5 % within three standard errors.
    EXPECT_NEAR(static_cast<double>(c.held) / c.trials, 0.95, 0.015) << n << " laps";
    EXPECT_LE(static_cast<double>(c.claimed) / c.trials, 0.065) << n << " against " << n;
  }
  for (std::size_t n = 2; n <= 5; ++n) {
    const Coverage c = simulate(1, n, 200 + n);
    EXPECT_NEAR(static_cast<double>(c.claimed) / c.trials, 0.05, 0.015) << "one lap against " << n;
  }
}

TEST(OverLaps, VerdictsOfOneLapEachAndBelowResolution) {
  const OverLaps a = overLaps(std::vector<double>{4.0}), b = overLaps(std::vector<double>{4.5});
  const Difference alone = compareOverLaps(a, b, {0, 1, "T2"}, "corner_time_s", 0.001);
  EXPECT_EQ(alone.verdict, oneLapEach);
  EXPECT_FALSE(alone.hasInterval);
  EXPECT_EQ(alone.delta.value, 0.5);
  // Laps that agree to a microsecond are taken to vary by their resolution's
  // rounding at least; five a side then leave zero out for half a
  // millisecond, which is still below the resolution: no claim, and no
  // interval that would read as one.
  const OverLaps c = overLaps(std::vector<double>{4.0, 4.0000001, 4.0000002, 4.0, 4.0000001});
  const OverLaps d = overLaps(std::vector<double>{4.0005, 4.0005001, 4.0005002, 4.0005, 4.0005001});
  const Difference tiny = compareOverLaps(c, d, {0, 1, "T2"}, "corner_time_s", 0.001);
  EXPECT_GT(tiny.delta.ci.low, 0.0);
  EXPECT_LT(tiny.delta.ci.low, 0.0002);
  EXPECT_EQ(tiny.verdict, belowResolution);
  EXPECT_FALSE(tiny.hasInterval);
  const Difference one = compareOverLaps(a, d, {0, 1, "T2"}, "corner_time_s", 0.001);
  ASSERT_EQ(one.notes.size(), 1u);
  EXPECT_NE(noteText(one.notes[0], {}).find("one lap against 5"), std::string::npos);
  EXPECT_EQ(one.verdict, noDifferenceShown);
}

// Whole gears: two laps in one gear against a lap in another have shown no
// spread, which is not none; no interval of no width claims anything.
// Two laps that disagree past what a number can be (one in third gear at
// 3,000 rpm, one in second at 9,000) give no interval and no claim, however
// the comparison's claims set its level, and say whose laps disagree; the
// others of the family are tested without it.
TEST(OverLaps, LapsThatDisagreePastTheReachClaimNothing) {
  const OverLaps from = overLaps(std::vector<double>{3000.0, 9000.0});
  const OverLaps to = overLaps(std::vector<double>{5000.0, 5100.0});
  std::vector<Difference> family;
  family.push_back(compareOverLaps(from, to, {0, 1, "T3"}, "rpm_min", 10.0));
  family.back().reach = reachOf(*quantityNamed("rpm_min"), {});
  family.back().disagreement = {0, 2, 4242.64, "b.raf", 9000.0, 3000.0};
  holdPastReach(family.back());
  EXPECT_EQ(family.back().verdict, lapsDisagree);
  EXPECT_FALSE(family.back().hasInterval);
  const std::vector<std::string> notes = notesOf(family.back(), {"club", "record"});
  ASSERT_EQ(notes.size(), 1u);
  EXPECT_EQ(notes[0], "the laps disagree here: club's 2 laps spread 4243 rpm from lap to lap, more than an interval "
                      "over so few can bound; b.raf 9000 rpm against 3000 rpm for its other lap");
  // Beside 40 differences of nothing, an rpm whose 95 % interval stays
  // within 20,000 rpm passes it at the family's level: it is held there.
  family.clear();
  const OverLaps wide = overLaps(std::vector<double>{5000.0, 5600.0});
  family.push_back(compareOverLaps(wide, to, {0, 1, "T3"}, "rpm_min", 10.0));
  family.back().reach = 20000.0;
  holdPastReach(family.back());
  EXPECT_TRUE(family.back().hasInterval);
  for (int k = 0; k < 40; ++k) {
    const OverLaps a = overLaps(std::vector<double>{4.0, 4.1, 4.05}), b = overLaps(std::vector<double>{4.02, 4.08, 4.1});
    std::string where = "T";
    where += std::to_string(k);
    family.push_back(compareOverLaps(a, b, {0, 1, where}, "corner_time_s", 0.001));
  }
  std::vector<Difference*> members;
  for (Difference& d : family) members.push_back(&d);
  claimFamily(members, 0, 1);
  EXPECT_EQ(family.front().verdict, lapsDisagree);
  for (const Difference& d : family) {
    if (d.hasInterval) {
      EXPECT_LE(std::fabs(d.delta.ci.high - d.delta.ci.low), 20000.0);
    }
  }
}

// Every number a corner or a phase of it gives is in the quantity table,
// with a resolution, and places and times are bounded by the track.
TEST(Quantities, EveryCornerAndPhaseNumberIsInTheTable) {
  for (const char* key : cornerKeyNames) {
    const Quantity* q = quantityNamed(key);
    ASSERT_NE(q, nullptr) << key;
    EXPECT_GT(q->resolution, 0.0) << key;
    EXPECT_FALSE(q->words.empty()) << key;
  }
  for (const char* key : phaseKeyNames) ASSERT_NE(quantityNamed(key), nullptr) << key;
  const TrackScale track{2030.0, 62.0};
  EXPECT_EQ(reachOf(*quantityNamed("brake_m"), track), 2030.0);
  EXPECT_EQ(reachOf(*quantityNamed("segment_time_s"), track), 62.0);
  EXPECT_EQ(reachOf(*quantityNamed("peak_brake"), track), 1.0);
  EXPECT_EQ(reachOf(*quantityNamed("steer_apex_deg"), track), 720.0);
  double low = 0.6, high = 1.17;
  keepWithinRange(*quantityNamed("peak_brake"), low, high);
  EXPECT_EQ(high, 1.0);
  EXPECT_EQ(low, 0.6);
}

TEST(OverLaps, NoClaimWithoutSpread) {
  const OverLaps second = overLaps(std::vector<double>{2.0, 2.0}), third = overLaps(std::vector<double>{3.0});
  const Difference gear = compareOverLaps(second, third, {0, 1, "T1"}, "gear_min", 1.0);
  EXPECT_EQ(gear.verdict, noDifferenceShown);
  EXPECT_GT(gear.delta.ci.high - gear.delta.ci.low, 2.0);
  // Five laps a side, each side in one gear throughout, do show a gear.
  const OverLaps five2 = overLaps(std::vector<double>(5, 2.0)), five3 = overLaps(std::vector<double>(5, 3.0));
  EXPECT_EQ(compareOverLaps(five2, five3, {0, 1, "T1"}, "gear_min", 1.0).verdict, higher);
  EXPECT_EQ(std::string(verdictOf({0.16, 0.16})), noDifferenceShown);
  EXPECT_EQ(std::string(verdictOf({-0.2, -0.1})), lower);
}

}  // namespace
}  // namespace skidlog

namespace skidlog {
namespace {

// One corner's group of laps with these peak brake values.
CornerGroup brakingGroup(std::size_t g, std::vector<double> peaks) {
  CornerGroup out;
  out.group = g;
  out.laps = peaks.size();
  for (const double p : peaks) out.atLimit[peakBrake] += atCornerLimit(peakBrake, p) ? 1u : 0u;
  out.value[peakBrake] = overLaps(peaks);
  return out;
}

Difference peakBrakeDifference(std::vector<double> from, std::vector<double> to) {
  TrackAnalysis track;
  CornerResult corner;
  corner.corner.name = "T1";
  corner.groups = {brakingGroup(0, from), brakingGroup(1, to)};
  track.corners.push_back(corner);
  track.groups.resize(2);
  for (const Difference& d : compareLaps({track})) {
    if (d.quantity == "peak_brake") return d;
  }
  return {};
}

// Laps all at full brake show no spread of what the driver would have done
// beyond it: never higher or lower, but not comparable, counted in a note.
TEST(OverLaps, PedalsAtTheirLimitAreNotComparable) {
  const Difference d = peakBrakeDifference({1.0, 1.0}, {0.84});
  EXPECT_EQ(d.verdict, notComparable);
  ASSERT_FALSE(d.notes.empty());
  const std::string note = noteText(d.notes.back(), {"club", "record"});
  EXPECT_NE(note.find("club: full brake in 2 of 2 laps; record: full brake in 0 of 1 lap, mean 0.84"), std::string::npos)
      << note;
  EXPECT_EQ(peakBrakeDifference({1.0, 1.0}, {1.0, 1.0}).verdict, noDifferenceShown);
  EXPECT_EQ(peakBrakeDifference({0.6, 0.62, 0.61}, {0.9, 0.91, 0.92}).verdict, higher);
}

}  // namespace
}  // namespace skidlog
