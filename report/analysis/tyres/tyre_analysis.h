// What the report says about a tyre (one wheel, or an axle's two wheels
// pooled): its lateral and longitudinal grip curves, the lateral curve in
// three bands of normal load, its friction circle, and for every number the
// data determines, a 95 % interval from the block bootstrap.
//
// The fits use a stricter subset of the CSV rows. The slip columns divide by
// the whole-number part of the speed, so below 5 m/s they are coarse; spins,
// slides and near-airborne moments are not the tyre's curve. A point is
// fitted when the wheel rolls at 5 m/s or more, carries at least a fifth of
// its median load, and slips less than 30 degrees and a slip ratio of 1. The
// lateral fit takes points with |slip ratio| <= 0.1, the longitudinal fit
// points with |slip angle| <= 3 degrees: each curve is the tyre's pure slip.
#ifndef SKIDLOG_REPORT_ANALYSIS_TYRES_TYRE_ANALYSIS_H_
#define SKIDLOG_REPORT_ANALYSIS_TYRES_TYRE_ANALYSIS_H_

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "report/analysis/tyres/tyre_points.h"
#include "report/fit/bootstrap.h"
#include "report/fit/curve_fit.h"

namespace skidlog {

inline constexpr float minFitSpeed = 5.0f;          // m/s
inline constexpr float minLoadShare = 0.2f;         // of the wheel's median load
inline constexpr float maxFitSlipAngle = 30.0f;     // degrees
inline constexpr float maxFitSlipRatio = 1.0f;
inline constexpr float lateralSlipRatioLimit = 0.1f;
inline constexpr float longitudinalSlipAngleLimit = 3.0f;  // degrees
inline constexpr int frictionCircleSectors = 36;    // of 10 degrees each
inline constexpr std::size_t loadBandCount = 3;
// The points at which a curve and its band are drawn, across its data.
inline constexpr std::size_t curveDrawPoints = 121;

// Slip angle in degrees: a peak from 1 to 25 degrees, grip up to 3.5.
extern const FitLimits lateralLimits;
// Slip ratio: a peak from about 0.02 to 0.5.
extern const FitLimits longitudinalLimits;

// A number the data determines, its 95 % interval, and the bootstrap
// replicates it came from (NaN where a replicate could not give it).
struct Estimate {
  double value = std::numeric_limits<double>::quiet_NaN();
  Interval ci;
  std::vector<double> replicates;

  bool known() const { return value == value; }
};

struct CurveAnalysis {
  CurveFit fit;
  Estimate peakGrip;            // where the peak is reached; else the largest grip within the data
  Estimate peakSlip;
  Estimate corneringStiffness;  // B C D, grip per unit of slip
  // The curve drawn across its data (slipLow to slipHigh), and at each x the
  // 95 % band of the replicates' curves.
  std::vector<double> x;
  std::vector<double> y;
  std::vector<double> low;
  std::vector<double> high;
};

// The lateral curve in one band of normal load: the tyre's lateral shape
// with its own peak factor D.
struct LoadBand {
  double loadMin = 0.0;   // N
  double loadMax = 0.0;   // N
  double meanLoad = 0.0;  // N, of its points
  std::optional<CurveFit> fit;
};

// Whether a fit ran its peak factor D to a bound of its box: the data then
// does not determine the curve's shape, nor its slope at zero slip (its
// cornering stiffness is left unknown).
inline bool peakFactorBounded(const CurveFit& fit) {
  return std::find(fit.bounded.begin(), fit.bounded.end(), "D") != fit.bounded.end();
}

struct TyreAnalysis {
  std::optional<CurveAnalysis> lateral;       // lateral grip against slip angle, degrees
  std::optional<CurveAnalysis> longitudinal;  // longitudinal grip against slip ratio
  std::array<LoadBand, loadBandCount> loadBands;  // lightest load first
  // Change of lateral peak grip per kN of normal load, from bands of load
  // within each direction of cornering.
  Estimate loadSensitivity;
  // Per 10-degree direction of (lateral grip, longitudinal grip), 0 degrees
  // pure lateral grip to the right, counterclockwise: the 99th percentile of
  // the combined grip; empty where fewer than 10 points lie in the sector.
  std::array<std::optional<double>, frictionCircleSectors> frictionCircle;
  std::size_t rows = 0;    // the CSV rows of its wheels
  std::size_t fitted = 0;  // of them, in the fitting subset
};

// A wheel's points that are fitted, as indices into its points (32 bits, as
// its sample numbers are: a season's points take half the room).
struct FitSubsets {
  std::vector<PointIndex> all;           // the fitting subset
  std::vector<PointIndex> lateral;       // of them, pure lateral slip
  std::vector<PointIndex> longitudinal;  // of them, pure longitudinal slip
};

FitSubsets fitSubsets(const WheelPoints& points);

// The points of a tyre (a wheel's, or an axle's sample by sample) and which
// of them are fitted.
struct TyreSource {
  const WheelPoints* points = nullptr;
  const FitSubsets* subsets = nullptr;
};

// The fit's curve at curveDrawPoints slips spread evenly across its data
// (slipLow to slipHigh), into x and y.
void drawAcrossData(const CurveFit& fit, std::vector<double>& x, std::vector<double>& y);

// Fits every tyre, then refits it to every replicate of `resamples` for the
// intervals.
std::vector<TyreAnalysis> analyseTyres(std::span<const TyreSource> tyres, const Resamples& resamples);

}  // namespace skidlog

#endif  // SKIDLOG_REPORT_ANALYSIS_TYRES_TYRE_ANALYSIS_H_
