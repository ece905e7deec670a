// What the report says about each tyre: its lateral and longitudinal grip
// curves, the lateral curve in three bands of normal load, and its friction
// circle.
//
// The fits use a stricter subset of the CSV rows. The slip columns divide by
// the whole-number part of the speed, so below 5 m/s they are coarse; spins,
// slides and near-airborne moments are not the tyre's curve. A point is
// fitted when the wheel rolls at 5 m/s or more, carries at least a fifth of
// its median load, and slips less than 30 degrees and a slip ratio of 1. The
// lateral fit takes points with |slip ratio| <= 0.1, the longitudinal fit
// points with |slip angle| <= 3 degrees: each curve is the tyre's pure slip.
#ifndef SKIDLOG_REPORT_TYRE_ANALYSIS_H_
#define SKIDLOG_REPORT_TYRE_ANALYSIS_H_

#include <array>
#include <cstddef>
#include <optional>
#include <vector>

#include "report/magic_formula.h"
#include "report/tyre_points.h"

namespace skidlog {

inline constexpr float minFitSpeed = 5.0f;          // m/s
inline constexpr float minLoadShare = 0.2f;         // of the wheel's median load
inline constexpr float maxFitSlipAngle = 30.0f;     // degrees
inline constexpr float maxFitSlipRatio = 1.0f;
inline constexpr float lateralSlipRatioLimit = 0.1f;
inline constexpr float longitudinalSlipAngleLimit = 3.0f;  // degrees
inline constexpr int frictionCircleSectors = 36;    // of 10 degrees each

struct LoadBand {
  double loadMin = 0.0;  // N
  double loadMax = 0.0;  // N
  std::optional<CurveFit> fit;
};

struct WheelAnalysis {
  std::optional<CurveFit> lateral;       // lateral grip against slip angle, degrees
  std::optional<CurveFit> longitudinal;  // longitudinal grip against slip ratio
  std::array<LoadBand, 3> loadBands;     // lateral fits, lightest load first
  // Per 10-degree direction of (lateral grip, longitudinal grip), 0 degrees
  // pure lateral grip to the right, counterclockwise: the 99th percentile of
  // the combined grip; empty where fewer than 10 points lie in the sector.
  std::array<std::optional<double>, frictionCircleSectors> frictionCircle;
  std::size_t rows = 0;    // the CSV rows of the wheel
  std::size_t fitted = 0;  // of them, in the fitting subset
};

// A wheel's points that are fitted, as indices into its points.
struct FitSubsets {
  std::vector<std::size_t> all;           // the fitting subset
  std::vector<std::size_t> lateral;       // of them, pure lateral slip
  std::vector<std::size_t> longitudinal;  // of them, pure longitudinal slip
};

FitSubsets fitSubsets(const WheelPoints& points);

WheelAnalysis analyseWheel(const WheelPoints& points);

}  // namespace skidlog

#endif  // SKIDLOG_REPORT_TYRE_ANALYSIS_H_
