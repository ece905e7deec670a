// The few-laps statistics: the gamma function's relatives and Student's t at any
// degrees of freedom against known values; the prior over a track's corners
// against spreads drawn from a known variance; a comparison's claims against
// the false discovery rate, their intervals agreeing with them.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "numeric/elementary.h"
#include "report/analysis/compare/over_laps.h"
#include "report/inference/chi_square.h"
#include "report/inference/draws.h"
#include "report/inference/moderated_variance.h"
#include "report/inference/gamma_functions.h"
#include "report/inference/student_t.h"
#include "report/laps/lap_claims.h"
#include "tools/generator/noise.h"

namespace skidlog {
namespace {

// Relative agreement to `digits` significant digits.
void expectClose(double got, double want, double relative) {
  EXPECT_LE(std::fabs(got - want), relative * std::fabs(want)) << got << " against " << want;
}

TEST(Inference, ExpAndLogAgreeWithTheLibraryToAFewUnitsInTheLastPlace) {
  for (const double x : {1e-300, 1e-10, 0.001, 0.5, 0.70710678, 1.0, 1.5, 2.0, 10.0, 12345.678, 1e300}) {
    expectClose(portable::log(x), std::log(x), 4e-16);
  }
  for (const double x : {-700.0, -20.0, -1.0, -1e-9, 0.3465, 1.0, 2.5, 100.0, 700.0}) {
    expectClose(portable::exp(x), std::exp(x), 4e-16);
  }
  EXPECT_EQ(portable::log(1.0), 0.0);
  EXPECT_EQ(portable::exp(0.0), 1.0);
  EXPECT_EQ(portable::log(0.0), -std::numeric_limits<double>::infinity());
  EXPECT_TRUE(std::isnan(portable::log(-1.0)));
  EXPECT_EQ(portable::exp(-1000.0), 0.0);
  EXPECT_EQ(portable::exp(1000.0), std::numeric_limits<double>::infinity());
}

TEST(Inference, GammaRelativesAtKnownPoints) {
  expectClose(logGamma(0.5), 0.5723649429247001, 1e-14);  // log sqrt(pi)
  expectClose(logGamma(10.0), 12.801827480081469, 1e-14);  // log 9!
  expectClose(digamma(1.0), -0.5772156649015329, 1e-14);   // -Euler's constant
  expectClose(digamma(0.5), -1.9635100260214235, 1e-14);
  expectClose(trigamma(1.0), 1.6449340668482264, 1e-14);  // pi^2 / 6
  expectClose(trigamma(0.5), 4.934802200544679, 1e-14);   // pi^2 / 2
  expectClose(tetragamma(1.0), -2.4041138063191885, 1e-13);  // -2 zeta(3)
  for (const double y : {0.05, 0.5, 2.5, 40.0, 3000.0}) expectClose(trigammaInverse(trigamma(y)), y, 1e-7);
  EXPECT_TRUE(std::isnan(logGamma(0.0)));
}

TEST(Inference, StudentTAtAnyDegreesOfFreedomAndLevel) {
  for (const int df : {1, 2, 3, 5, 10, 30}) expectClose(studentQuantile(0.05, df), studentT975(df), 1e-9);
  expectClose(studentQuantile(0.01, 10.0), 3.169272672616951, 1e-12);
  expectClose(studentQuantile(0.001, 2.0), 31.59905457644545, 1e-12);  // at two degrees of freedom: (1 - p) sqrt(2 / (p (2 - p)))
  expectClose(studentTwoSided(1.0, 1.0), 0.5, 1e-15);  // Cauchy: 1 - 2 atan(t) / pi
  expectClose(studentTwoSided(100.0, 1.0), 0.0063659855298163759, 1e-13);
  EXPECT_GT(studentQuantile(0.05, 2.5), studentT975(3));
  EXPECT_LT(studentQuantile(0.05, 2.5), studentT975(2));
  EXPECT_EQ(studentTwoSided(0.0, 4.0), 1.0);
  // A level's quantile and the p-value at it are one another's inverse.
  for (const double p : {0.2, 0.05, 1e-3, 1e-5}) expectClose(studentTwoSided(studentQuantile(p, 1.7), 1.7), p, 1e-9);
}

// Spreads over `laps` laps of values of standard deviation `sigma`.
Spread drawSpread(generator::Noise& noise, int laps, double sigma, double logSize = 0.0) {
  std::vector<double> v;
  for (int k = 0; k < laps; ++k) v.push_back(noise.gauss(sigma));
  const OverLaps o = overLaps(v);
  return {o.spread * o.spread, o.df, logSize};
}

TEST(Inference, ChiSquareQuantilesAndASpreadsInterval) {
  // From tables: chi-square quantiles at 1, 3 and 10 degrees of freedom.
  EXPECT_NEAR(chiSquareQuantile(0.975, 1.0), 5.023886187, 1e-8);
  EXPECT_NEAR(chiSquareQuantile(0.025, 3.0), 0.2157953, 1e-7);
  EXPECT_NEAR(chiSquareQuantile(0.5, 10.0), 9.341817766, 1e-8);
  EXPECT_NEAR(lowerGammaRatio(2.5, 40.0), 1.0, 1e-15);
  // Nine laps spread 0.9 s: sigma between 0.61 and 1.72 s.
  const Interval i = spreadInterval(0.9, 8.0);
  EXPECT_NEAR(i.low, 0.9 * std::sqrt(8.0 / 17.53454614), 1e-8);
  EXPECT_NEAR(i.high, 0.9 * std::sqrt(8.0 / 2.179730747), 1e-8);
}

TEST(Inference, DrawsFollowTheirDistributions) {
  Random random(7);
  constexpr int n = 200000;
  // Student's t at 5 degrees of freedom: mean 0, variance 5/3, and 2.5 %
  // beyond its 97.5 % quantile; at 1 (shape below one for the gamma) its
  // median absolute value is 1.
  double sum = 0.0, squares = 0.0;
  int beyond = 0, withinOne = 0;
  for (int k = 0; k < n; ++k) {
    const double t = studentDraw(random, 5.0);
    sum += t;
    squares += t * t;
    beyond += t > studentT975(5.0) ? 1 : 0;
    withinOne += std::fabs(studentDraw(random, 1.0)) < 1.0 ? 1 : 0;
  }
  EXPECT_NEAR(sum / n, 0.0, 0.01);
  EXPECT_NEAR(squares / n, 5.0 / 3.0, 0.05);
  EXPECT_NEAR(static_cast<double>(beyond) / n, 0.025, 0.002);
  EXPECT_NEAR(static_cast<double>(withinOne) / n, 0.5, 0.005);
}

TEST(Inference, APriorOverLikeCornersIsWorthTheirLaps) {
  generator::Noise noise(7);
  std::vector<Spread> spreads;
  for (int c = 0; c < 9; ++c) spreads.push_back(drawSpread(noise, 2, 0.3));
  const Prior p = fitPrior(spreads, false);
  ASSERT_TRUE(p.known());
  // Nine corners of one degree of freedom each: at most nine, and the
  // scale near the common spread.
  EXPECT_LE(p.df, 9.0);
  EXPECT_GE(p.df, 3.0);
  EXPECT_GT(p.scale(), 0.15);
  EXPECT_LT(p.scale(), 0.6);
  // Too few corners fit no prior.
  EXPECT_FALSE(fitPrior(std::vector<Spread>(spreads.begin(), spreads.begin() + 2), false).known());
}

TEST(Inference, AnErraticCornerIsNeitherShrunkNorWidensTheOthers) {
  generator::Noise noise(11);
  std::vector<Spread> spreads;
  for (int c = 0; c < 12; ++c) spreads.push_back(drawSpread(noise, 3, 0.2));
  const Prior clean = fitPrior(spreads, false);
  spreads.push_back({40.0 * 0.04, 2.0, 0.0});  // a slide: a spread six times the others'
  const Prior p = fitPrior(spreads, false);
  ASSERT_TRUE(p.known());
  EXPECT_TRUE(p.erratic.back());
  EXPECT_EQ(std::count(p.erratic.begin(), p.erratic.end(), true), 1);
  expectClose(p.scale(), clean.scale(), 1e-12);
  // The prior does not describe it: it keeps its own variance and its own
  // degrees of freedom, where an ordinary corner borrows the prior's.
  const Moderated m = moderate(spreads.back(), p, true);
  EXPECT_EQ(m.variance, spreads.back().variance);
  EXPECT_EQ(m.df, 2.0);
  EXPECT_EQ(moderate(spreads.front(), p).df, p.df + 2.0);
}

TEST(Inference, APriorBorrowsWhatTheCornersFirmlyShow) {
  generator::Noise noise(17);
  // Many like corners (a session of many drivers): their likelihood is
  // sharp enough to show them alike, and the prior is worth many laps.
  std::vector<Spread> like;
  for (int c = 0; c < 300; ++c) like.push_back(drawSpread(noise, 3, 0.2));
  EXPECT_GT(fitPrior(like, false).df, 20.0) << fitPrior(like, false).df;
  // Five corners of one lap-to-lap difference each cannot tell how alike
  // they are: the prior is worth at most four laps, never a known variance.
  std::vector<Spread> five;
  for (int c = 0; c < 5; ++c) five.push_back(drawSpread(noise, 2, 0.2));
  EXPECT_LE(fitPrior(five, false).df, 4.0);
  // Two dozen corners of which half are taken two ways (a spread six times
  // the others'): the corners are not alike, and the prior borrows little.
  std::vector<Spread> twoWays;
  for (int c = 0; c < 24; ++c) twoWays.push_back(drawSpread(noise, 2, c % 2 == 0 ? 0.05 : 0.3));
  const Prior p = fitPrior(twoWays, false);
  EXPECT_LE(p.df, 4.0);
  EXPECT_GE(p.df, 0.5);
}

TEST(Inference, ATrendFollowsSpreadsThatGrowWithTheCornersSize) {
  generator::Noise noise(13);
  std::vector<Spread> spreads;
  // Spreads proportional to the corner's time, 4 to 20 s: log variance
  // rises by 2 per unit of log size.
  for (int c = 0; c < 30; ++c) {
    const double time = 4.0 + 16.0 * c / 29.0;
    spreads.push_back(drawSpread(noise, 4, 0.02 * time, std::log(time)));
  }
  const Prior p = fitPrior(spreads, true);
  ASSERT_TRUE(p.known());
  EXPECT_NEAR(p.trend, 2.0, 0.8);
  EXPECT_GT(p.varianceAt(std::log(20.0)), 4.0 * p.varianceAt(std::log(5.0)));
  EXPECT_TRUE(std::isnan(fitPrior(spreads, false).trend));
  // Few spreads of few degrees of freedom leave the slope loose: spreads growing with the
  // cube of the size, or falling as it grows, are read as no steeper than
  // proportional and never falling.
  std::vector<Spread> steep, falling;
  for (int c = 0; c < 30; ++c) {
    const double level = 100.0 + 100.0 * c / 29.0;
    steep.push_back(drawSpread(noise, 4, 1e-4 * level * level * level, std::log(level)));
    falling.push_back(drawSpread(noise, 4, 1e4 / level, std::log(level)));
  }
  EXPECT_EQ(fitPrior(steep, true).trend, 2.0);
  EXPECT_EQ(fitPrior(falling, true).trend, 0.0);
}

TEST(Inference, BenjaminiHochbergRejectsTheLargestRankUnderItsLine) {
  EXPECT_EQ(benjaminiHochberg({0.01, 0.02, 0.03, 0.04, 0.05}, 0.05), 5u);
  EXPECT_EQ(benjaminiHochberg({0.001, 0.5, 0.6, 0.7, 0.8}, 0.05), 1u);
  EXPECT_EQ(benjaminiHochberg({0.011, 0.5, 0.6, 0.7, 0.8}, 0.05), 0u);  // above 0.05 / 5
  EXPECT_EQ(benjaminiHochberg({0.04, 0.001, 0.9}, 0.05), 1u);  // in any order: 0.04 is above 2 x 0.05 / 3
  EXPECT_EQ(benjaminiHochberg({}, 0.05), 0u);
}

// A lap difference of `delta` with standard error `se` on `df` degrees of
// freedom, of the comparison of groups 0 and `to`.
Difference lapDifference(double delta, double se, double df, std::size_t to = 1, double resolution = 0.001) {
  Difference d;
  d.to = to;
  d.where = "T1";
  d.quantity = "segment_time_s";
  d.delta.value = delta;
  d.standardError = se;
  d.df = df;
  d.resolution = resolution;
  d.verdict = noDifferenceShown;
  return d;
}

TEST(Inference, ClaimsAndTheirIntervalsAgreeOverEachComparison) {
  std::vector<Difference> d;
  for (int k = 0; k < 40; ++k) d.push_back(lapDifference(0.02 * (k % 7 - 3), 0.1, 6.0));
  d.push_back(lapDifference(0.9, 0.1, 6.0));    // clearly slower
  d.push_back(lapDifference(-0.6, 0.1, 6.0));   // clearly faster
  d.push_back(lapDifference(0.0005, 1e-5, 6.0));  // below its resolution: not in the family
  d.push_back(lapDifference(0.3, 0.1, 6.0, 2));  // another comparison, alone in its family
  d.back().verdict = notComparable;
  const std::vector<Claims> claims = claimAcrossComparisons(d);
  ASSERT_EQ(claims.size(), 2u);
  EXPECT_EQ(claims[0].tested, 36u);  // the six of no difference are below their resolution
  EXPECT_EQ(claims[0].claimed, 2u);
  EXPECT_EQ(claims[1].tested, 0u);
  EXPECT_EQ(d[40].verdict, higher);
  EXPECT_EQ(d[41].verdict, lower);
  EXPECT_EQ(d[42].verdict, noDifferenceShown);
  EXPECT_EQ(d[43].verdict, notComparable);
  // Each interval at level 1 - 2 q / m, zero out of the claimed ones only.
  const double half = studentQuantile(2.0 * 0.05 / 36.0, 6.0) * 0.1;
  for (std::size_t k = 0; k < 42; ++k) {
    if (d[k].delta.value == 0.0) continue;
    EXPECT_NEAR(d[k].delta.ci.high - d[k].delta.value, half, 1e-12);
    EXPECT_EQ(claimed(d[k].verdict), d[k].delta.ci.low > 0.0 || d[k].delta.ci.high < 0.0) << k;
  }
}

TEST(Inference, TheLapTimeCarriesATenthOfItsFamilysWeight) {
  // Forty corner numbers with nothing to find and a lap time whose p-value,
  // about 0.003, no single one of 41 evenly weighted members may claim.
  std::vector<Difference> d;
  for (int k = 0; k < 40; ++k) d.push_back(lapDifference(0.02 * (k % 7 - 3) + 0.001, 0.1, 6.0));
  d.push_back(lapDifference(2.6, 0.5, 6.0));
  d.back().where = "lap";
  d.back().quantity = "lap_time_s";
  const double p = studentTwoSided(2.6 / 0.5, 6.0);
  ASSERT_GT(p, 0.05 / 41.0);
  ASSERT_LT(p, 0.1 * 0.05);
  const std::vector<Claims> claims = claimAcrossComparisons(d);
  EXPECT_EQ(claims[0].claimed, 1u);
  EXPECT_EQ(d[40].verdict, higher);
  // Its interval at 1 - q w / m with w = 4.1, the corners' at w = 36.9 / 40.
  const double lapHalf = studentQuantile(0.05 * 4.1 / 41.0, 6.0) * 0.5;
  EXPECT_NEAR(d[40].delta.ci.high - 2.6, lapHalf, 1e-12);
  EXPECT_GT(d[40].delta.ci.low, 0.0);
  const double cornerHalf = studentQuantile(0.05 * (36.9 / 40.0) / 41.0, 6.0) * 0.1;
  EXPECT_NEAR(d[0].delta.ci.high - d[0].delta.value, cornerHalf, 1e-12);
  // The same lap time as a corner number claims nothing.
  d.back().where = "T9";
  EXPECT_EQ(claimAcrossComparisons(d)[0].claimed, 0u);
  EXPECT_EQ(benjaminiHochberg({0.004, 0.5}, {1.8, 0.2}, 0.05), 1u);  // 0.004 / 1.8 under 0.05 / 2
}

}  // namespace
}  // namespace skidlog
