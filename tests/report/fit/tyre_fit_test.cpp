// The report's fit and its intervals: the Magic Formula's peak, the robust
// binned fit with its load term, the block resampling, and the JSON numbers.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "report/analysis/tyres/tyre_analysis.h"
#include "report/analysis/tyres/tyre_model.h"
#include "report/fit/bootstrap.h"
#include "report/fit/curve_fit.h"
#include "report/fit/random.h"
#include "report/output/json/format/json_number.h"
#include "report/output/words/tyre_words.h"

namespace skidlog {
namespace {

// A tyre with camber thrust (grip at zero slip, a vertical shift: the lateral
// fit holds the horizontal shift at zero) whose peak grip falls by 0.06 per kN
// from 1.2 at 3000 N.
const MagicFormula truth{0.15, 1.5, 1.2, 0.3, 0.0, 0.03, -0.06, 3000.0};

struct Cloud {
  std::vector<float> x, y, load;
  std::vector<std::uint32_t> block;
  CurvePoints points() const { return {x, y, load, block}; }
};

// Points of `truth` over [-reach, reach] degrees at loads from 1500 to 4500 N
// with Gaussian noise, and a share of outliers anywhere in [-2, 2] (kerb
// strikes, slides); 100 points per block.
Cloud sample(double reach, double outliers, int n = 6000) {
  std::mt19937 random(7);
  std::uniform_real_distribution<double> slip(-reach, reach), load(1500.0, 4500.0), wild(-2.0, 2.0), chance(0.0, 1.0);
  std::normal_distribution<double> noise(0.0, 0.03);
  Cloud c;
  for (int i = 0; i < n; ++i) {
    const double s = slip(random), l = load(random);
    c.x.push_back(static_cast<float>(s));
    c.load.push_back(static_cast<float>(l));
    c.y.push_back(static_cast<float>(chance(random) < outliers ? wild(random) : truth.at(s, l) + noise(random)));
    c.block.push_back(static_cast<std::uint32_t>(i / 100));
  }
  return c;
}

// The outside wheel is the heavy one: a wheel's light points come from one
// direction of cornering and its heavy points from the other, where camber
// gives it other grip. Load sensitivity must come from loads compared at one
// slip on one side, not from the two sides' difference.
TEST(LoadSensitivity, LoadIsComparedAtOneSlipOnOneSide) {
  const MagicFormula curve{0.15, 1.5, 1.2, 0.3, 0.0, 0.0, 0.0, 3000.0};
  for (const double perKn : {0.0, -0.04}) {
    SlipBins bins(lateralLimits.binWidth);
    std::mt19937 random(3);
    std::uniform_real_distribution<double> slip(0.2, 10.0), spread(-400.0, 400.0);
    for (std::uint32_t i = 0; i < 20000; ++i) {
      const bool right = i % 2 == 0;
      // Light on the left-hand side, heavy and grippier on the right-hand one.
      const double x = right ? slip(random) : -slip(random);
      const double load = (right ? 4000.0 : 2000.0) + spread(random);
      const double sideGrip = right ? 1.15 : 1.0;
      const double y = curve(x) * sideGrip * (1.0 + perKn * (load - 3000.0) / 1000.0);
      bins.add(i / 300, x, y, load);
    }
    EXPECT_NEAR(relativeLoadSensitivity(bins.totals(), curve), perKn, 0.004) << perKn;
  }
}

// Longitudinal points on a straight line: no bend, so the peak factor runs
// to its bound and the slope at zero slip is not the data's to give.
TEST(TyreModel, AStiffnessBuiltOnAPeakFactorAtItsBoundIsLeftOut) {
  WheelPoints p;
  std::mt19937 random(5);
  std::normal_distribution<double> noise(0.0, 0.002);
  for (std::uint32_t i = 0; i < 4000; ++i) {
    const double ratio = -0.05 + 0.1 * (i % 400) / 400.0;
    p.slipAngle.push_back(0.0f);
    p.lateralGrip.push_back(0.0f);
    p.slipRatio.push_back(static_cast<float>(ratio));
    p.longitudinalGrip.push_back(static_cast<float>(15.0 * ratio + noise(random)));
    p.normalLoad.push_back(3000.0f);
    p.speed.push_back(30.0f);
    p.sample.push_back(i);
    p.block.push_back(i / 300);
  }
  const FitSubsets subsets = fitSubsets(p);
  const TyreModel model = buildTyreModel({&p, &subsets});
  ASSERT_TRUE(model.analysis.longitudinal);
  const CurveFit& fit = model.analysis.longitudinal->fit;
  ASSERT_NE(std::find(fit.bounded.begin(), fit.bounded.end(), "D"), fit.bounded.end());
  EXPECT_FALSE(model.analysis.longitudinal->corneringStiffness.known());
  const std::vector<std::string> notes = tyreNotes(model.analysis);
  ASSERT_EQ(notes.size(), 1u);
  EXPECT_EQ(notes[0].rfind("longitudinal cornering_stiffness: the peak factor D", 0), 0u);
}

TEST(MagicFormula, PeakIsFoundWhereTheCurveIsLargest) {
  // Against a fine grid: shifted curves, the peak on either side, a range
  // that stops short of the peak, and C = 1 (no peak but at the ends).
  const MagicFormula curves[] = {truth, {0.25, 1.9, 1.0, -1.0, -1.0, -0.1, 0.0, 0.0},
                                 {0.1, 1.0, 1.3, 0.5, 0.0, 0.0, 0.0, 0.0}, {12.0, 1.65, 1.3, 0.9, 0.01, 0.05, 0.0, 0.0}};
  for (const MagicFormula& f : curves) {
    for (const double reach : {2.0, 8.0, 30.0}) {
      const double range = f.B > 5.0 ? reach / 100.0 : reach;
      double grid = 0.0;
      for (int k = -20000; k <= 20000; ++k) grid = std::max(grid, std::fabs(f(range * k / 20000.0)));
      const CurvePeak p = largestWithin(f, -range, range);
      EXPECT_NEAR(p.grip, grid, 1e-7) << f.B << " " << f.C << " " << reach;
      EXPECT_DOUBLE_EQ(std::fabs(f(p.x)), p.grip);
    }
  }
}

TEST(CurveFit, RecoversKnownCoefficientsDespiteOutliers) {
  const Cloud c = sample(20.0, 0.05);
  const auto fitted = fitCurve(c.points(), lateralLimits);
  ASSERT_TRUE(fitted);
  const CurveFit& fit = fitted->fit;
  EXPECT_NEAR(fit.curve.referenceLoad, 3000.0, 30.0);
  // D is given at the reference load: truth's peak factor there.
  EXPECT_NEAR(fit.curve.D, truth.D + truth.L * (fit.curve.referenceLoad - truth.referenceLoad) / 1000.0, 0.02);
  EXPECT_NEAR(fit.curve.Sv, truth.Sv, 0.01);
  EXPECT_NEAR(fit.curve.L, truth.L, 0.01);
  EXPECT_NEAR(fit.curve.corneringStiffness() / truth.corneringStiffness(), 1.0, 0.02);
  // B, C and E trade off against each other; the curve they make is what the
  // data determines, at every load.
  for (double x = -20.0; x <= 20.0; x += 0.5) {
    for (const double load : {1500.0, 3000.0, 4500.0}) EXPECT_NEAR(fit.curve.at(x, load), truth.at(x, load), 0.015);
  }
  EXPECT_TRUE(fit.bounded.empty());
  // About the 5 % outliers, bar those that fell near the curve by chance.
  EXPECT_NEAR(static_cast<double>(fit.outliers), 0.05 * 6000 * 0.9, 60.0);
  // The peak of truth, 1.23 at 13.33 degrees, lies inside the data: it is reached.
  EXPECT_TRUE(fit.peak.reached);
  EXPECT_NEAR(fit.peak.grip, truth.D + truth.Sv, 0.02);
  EXPECT_NEAR(fit.peak.slip, 13.33, 0.5);
}

// A peak inside the data is reached only where the data shows the fall after
// it: within the slip 99 % of the points cover, with at least 25 points and
// half a per cent of them beyond it, on its own side.
TEST(CurveFit, AReachedPeakHasTheFallAfterItInTheData) {
  const PeakSummary peak{1.2, 8.0, -8.0, true};
  const auto bins = [](double beyond, double elsewhere) {
    return std::vector<BinSum>{{elsewhere, 0.0, 0.0, 0.0}, {beyond, -9.0 * beyond, 0.0, 0.0}, {40.0, 9.0 * 40.0, 0.0, 0.0}};
  };
  EXPECT_TRUE(peakShown(peak, bins(30.0, 1000.0), 9.5));
  EXPECT_FALSE(peakShown(peak, bins(20.0, 1000.0), 9.5)) << "too few points beyond";
  EXPECT_FALSE(peakShown(peak, bins(30.0, 9000.0), 9.5)) << "too small a share beyond";
  EXPECT_FALSE(peakShown(peak, bins(30.0, 1000.0), 7.5)) << "beyond the slip 99 % of the points cover";
  EXPECT_FALSE(peakShown({1.2, 8.0, -8.0, false}, bins(30.0, 1000.0), 9.5)) << "at the edge of the data";
  const PeakSummary right{1.2, 8.0, 8.0, true};
  EXPECT_TRUE(peakShown(right, bins(20.0, 1000.0), 9.5)) << "its own side holds 40 points beyond it";
  EXPECT_FALSE(peakShown(right, {{1000.0, 0.0, 0.0, 0.0}, {40.0, -9.0 * 40.0, 0.0, 0.0}}, 9.5)) << "only the other side's";
}

TEST(CurveFit, NoPeakIsClaimedFromDataThatStopsShortOfIt) {
  Cloud c = sample(4.0, 0.0);
  const auto fitted = fitCurve(c.points(), lateralLimits);
  ASSERT_TRUE(fitted);
  EXPECT_FALSE(fitted->fit.peak.reached);
  // The largest grip within the data lies at its edge (read from the bins, so
  // within a bin of the points' own percentile): the curve still rises there.
  const double edge = fitted->fit.peak.x;
  const double bin = lateralLimits.binWidth;
  EXPECT_TRUE(std::fabs(edge - fitted->fit.slipLow) < bin || std::fabs(edge - fitted->fit.slipHigh) < bin) << edge;
  EXPECT_GT(fitted->fit.r2, 0.9);
  // Too few points, or too few distinct slips, give no fit.
  for (auto* v : {&c.x, &c.y, &c.load}) v->resize(minFitPoints - 1);
  c.block.resize(minFitPoints - 1);
  EXPECT_FALSE(fitCurve(c.points(), lateralLimits));
  const std::vector<float> twoSlips(200, 1.0f), grip(200, 0.5f), load(200, 3000.0f);
  const std::vector<std::uint32_t> block(200, 0);
  EXPECT_FALSE(fitCurve({twoSlips, grip, load, block}, lateralLimits));
}

TEST(SlipBins, ResampleWeighsEachBlocksSums) {
  SlipBins bins(0.5);
  // Block 0: two points in bin [0, 0.5); block 1: one there, one in [1, 1.5); block 2 none; block 3 one.
  bins.add(0, 0.1, 1.0, 1000.0);
  bins.add(0, 0.2, 2.0, 1000.0);
  bins.add(1, 0.3, 4.0, 2000.0);
  bins.add(1, 1.2, 8.0, 2000.0);
  bins.add(3, 0.4, 16.0, 3000.0);
  std::vector<BinSum> out;
  const std::uint32_t weights[] = {2, 0, 5, 1};
  bins.resample(weights, out);
  ASSERT_EQ(out.size(), 2u);
  EXPECT_DOUBLE_EQ(out[0].count, 5.0);
  EXPECT_DOUBLE_EQ(out[0].y, 2.0 * (1.0 + 2.0) + 16.0);
  EXPECT_DOUBLE_EQ(out[0].load, 2.0 * 2000.0 + 3000.0);
  EXPECT_DOUBLE_EQ(out[1].count, 0.0);
  const std::uint32_t ones[] = {1, 1, 1, 1};
  bins.resample(ones, out);
  EXPECT_DOUBLE_EQ(out[0].y, bins.totals()[0].y);
  EXPECT_DOUBLE_EQ(out[1].x, bins.totals()[1].x);
}

TEST(Bootstrap, DrawsAreReproducibleAndComplete) {
  std::vector<std::uint32_t> a(97), b(97), c(97);
  drawBlocks(reportSeed, 5, a);
  drawBlocks(reportSeed, 5, b);
  drawBlocks(reportSeed, 6, c);
  EXPECT_EQ(a, b);
  EXPECT_NE(a, c);
  std::uint32_t total = 0;
  for (const std::uint32_t w : a) total += w;
  EXPECT_EQ(total, 97u);
  // The first draws of seed and replicate 0, fixed by the generator's definition.
  std::vector<std::uint32_t> first(10);
  drawBlocks(reportSeed, 0, first);
  EXPECT_EQ(first, (std::vector<std::uint32_t>{1, 0, 1, 0, 1, 1, 0, 2, 2, 2}));
}

// One lap resamples its blocks; two or more laps resample whole laps, then
// blocks within each drawn lap, so a lap is either left out or drawn whole
// (as many of its blocks as it has, per draw).
TEST(Bootstrap, GroupsOfLapsResampleLapsThenBlocks) {
  const std::uint32_t oneLap[] = {97};
  const Resamples blocks(oneLap, reportSeed);
  EXPECT_FALSE(blocks.lapsResampled());
  std::vector<std::uint32_t> a(97);
  drawBlocks(reportSeed, 7, a);
  EXPECT_TRUE(std::equal(a.begin(), a.end(), blocks.weights(7).begin(), blocks.weights(7).end()));

  const std::uint32_t laps[] = {3, 5, 4};
  const Resamples two(laps, reportSeed);
  ASSERT_TRUE(two.lapsResampled());
  ASSERT_EQ(two.blocks(), 12u);
  int lapsLeftOut = 0;
  for (int r = 0; r < bootstrapReplicates; ++r) {
    const std::span<const std::uint32_t> w = two.weights(r);
    std::uint32_t first = 0, drawn = 0;
    for (const std::uint32_t n : laps) {
      std::uint32_t lap = 0;
      for (std::uint32_t b = first; b < first + n; ++b) lap += w[b];
      EXPECT_EQ(lap % n, 0u) << "replicate " << r;
      drawn += lap / n;
      lapsLeftOut += lap == 0 ? 1 : 0;
      first += n;
    }
    EXPECT_EQ(drawn, 3u) << "replicate " << r;
  }
  // With three laps, each is left out of about 30 % of the replicates.
  EXPECT_GT(lapsLeftOut, 100);
  EXPECT_LT(lapsLeftOut, 260);
}

TEST(Bootstrap, IntervalIsCentralNinetyFivePercentAndHoldsItsValue) {
  std::vector<double> values;
  for (int k = 0; k <= 400; ++k) values.push_back(k / 400.0);
  values.push_back(std::nan(""));
  const Interval i = interval95(values, 0.5);
  EXPECT_DOUBLE_EQ(i.low, 0.025);
  EXPECT_DOUBLE_EQ(i.high, 0.975);
  EXPECT_DOUBLE_EQ(interval95(values, 0.99).high, 0.99);
  EXPECT_DOUBLE_EQ(interval95(values, -1.0).low, -1.0);
  EXPECT_DOUBLE_EQ(interval95({}, 3.0).low, 3.0);
  // Replicates that lean above the estimate put the reflected interval below it.
  const Interval basic = basicInterval95(values, 0.3);
  EXPECT_DOUBLE_EQ(basic.low, 0.6 - 0.975);
  EXPECT_DOUBLE_EQ(basic.high, 0.6 - 0.025);
}

TEST(JsonNumber, FloatsAreWrittenAsTheirShortestDecimal) {
  const struct {
    float value;
    const char* text;
  } cases[] = {{0.01f, "0.01"},        {0.1f, "0.1"},         {3000.0f, "3000.0"},
               {1.0e-5f, "1e-05"},     {123456.7f, "123456.7"}, {0.33333334f, "0.33333334"},
               {-2.5f, "-2.5"},        {16777217.0f, "16777216.0"}};
  for (const auto& c : cases) EXPECT_EQ(floatNumber(c.value).dump(), c.text) << c.text;
  EXPECT_EQ(floatNumber(std::nanf("")).dump(), "null");
  EXPECT_EQ(number(INFINITY).dump(), "null");
}

}  // namespace
}  // namespace skidlog
