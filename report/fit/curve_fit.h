// The robust fit of a grip curve to a set of points, made cheap enough to
// repeat hundreds of times: a first curve through the medians of narrow slip
// bins marks the outliers (kerb strikes, slides), then the curve is fitted to
// the means of the remaining points per bin, weighted by their counts. The
// bins keep their sums per block of consecutive samples, so a resample of
// blocks refits from bin sums alone.
#ifndef SKIDLOG_REPORT_FIT_CURVE_FIT_H_
#define SKIDLOG_REPORT_FIT_CURVE_FIT_H_

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "report/fit/magic_formula.h"
#include "report/fit/slip_bins.h"

namespace skidlog {

// Fewer fitted points than this give no fit.
inline constexpr std::size_t minFitPoints = 50;
// A point further from the first curve than this many robust standard
// deviations of the residuals is an outlier.
inline constexpr double outlierCut = 3.0;

// The points of one curve, entry i of each belonging to one point.
struct CurvePoints {
  std::span<const float> x;              // slip
  std::span<const float> y;              // grip
  std::span<const float> load;           // normal load, N
  std::span<const std::uint32_t> block;  // the block of consecutive samples each lies in
};

// What the peak of a curve is, seen over the slip its data covers: from its
// 0.5th to its 99.5th percentile (on one side only, when the data is).
struct PeakSummary {
  double grip = 0.0;     // largest |y| of the curve over the data's slips
  double slip = 0.0;     // the |x| where it lies
  double x = 0.0;        // that x, signed
  bool reached = false;  // that largest |y| is a peak of the curve, not the edge of the data
};
PeakSummary summarisePeak(const MagicFormula& f, double slipLow, double slipHigh);

// Points beyond a peak (on its side, further out) that show the fall after
// it: at least this many, and at least this share of the curve's points.
inline constexpr double minPointsBeyondPeak = 25.0;
inline constexpr double minShareBeyondPeak = 0.005;

// Whether the data shows the fall after a peak that lies inside its slips:
// the peak lies within the slip that 99 % of the points cover (|x| at most
// slipP99) and enough of the binned points lie beyond it on its side.
bool peakShown(const PeakSummary& peak, const std::vector<BinSum>& bins, double slipP99);

struct CurveFit {
  MagicFormula curve;
  std::size_t points = 0;
  std::size_t outliers = 0;
  double r2 = 0.0;        // of the curve over every point
  double slipP99 = 0.0;   // 99th percentile of |x|
  double slipLow = 0.0;   // 0.5th percentile of x: where the data begins
  double slipHigh = 0.0;  // 99.5th percentile of x: where it ends
  PeakSummary peak;
  std::vector<std::string> bounded;  // coefficients at a bound of the box
};

struct FittedCurve {
  CurveFit fit;
  SlipBins bins;                // of the points that are not outliers
  std::vector<bool> outlier;    // per point
};

// Where the points' slips lie: fit.slipP99, fit.slipLow and fit.slipHigh.
void setSlipRange(std::span<const float> x, CurveFit& fit);

// The robust fit, its peak factor at the mean load of the points; empty
// below minFitPoints points or with fewer than eight distinct slip bins.
// REQUIRES: every value finite.
std::optional<FittedCurve> fitCurve(const CurvePoints& points, const FitLimits& limits);

// The curve fitted to resampled bin sums, starting from `start`.
MagicFormula refitBins(const std::vector<BinSum>& bins, const MagicFormula& start, const FitLimits& limits);

// The q-th quantile of x over resampled bin sums, each
// bin's points taken as spread evenly across it.
double binnedSlipQuantile(const std::vector<BinSum>& bins, double width, double q);


}  // namespace skidlog

#endif  // SKIDLOG_REPORT_FIT_CURVE_FIT_H_
