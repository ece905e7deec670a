// A tyre's fits as its bootstrap replicates need them: the fitted curves with
// their bin sums, and the load bands' bin sums; and one replicate's numbers.
#ifndef SKIDLOG_REPORT_ANALYSIS_TYRE_MODEL_H_
#define SKIDLOG_REPORT_ANALYSIS_TYRE_MODEL_H_

#include <array>
#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <vector>

#include "report/analysis/tyre_analysis.h"

namespace skidlog {

// The lateral bins' parts: three bands of load on each side of the curve.
inline constexpr std::size_t sideBandCount = 2 * loadBandCount;

struct TyreModel {
  TyreAnalysis analysis;  // the point estimates; no intervals yet
  std::optional<FittedCurve> lateral;  // its bins' parts are the side bands
  std::array<bool, sideBandCount> sideBandUsed{};  // the side bands with enough points for the load sensitivity
  std::optional<FittedCurve> longitudinal;
};

// Fits the tyre's curves and bands to its points.
TyreModel buildTyreModel(const TyreSource& source);

struct CurveReplicate {
  double peakGrip = 0.0;
  double peakSlip = 0.0;
  double corneringStiffness = 0.0;
  bool peakReached = false;  // the refit reaches the estimate's peak, shown by the resample
  std::vector<double> y;  // the curve at the analysis' draw points
};

struct TyreReplicate {
  std::optional<CurveReplicate> lateral;
  std::optional<CurveReplicate> longitudinal;
  double loadSensitivity = std::numeric_limits<double>::quiet_NaN();  // when the bands give it
};

// The tyre's numbers refitted with block b counted weights[b] times.
TyreReplicate replicateTyre(const TyreModel& model, std::span<const std::uint32_t> weights);

}  // namespace skidlog

#endif  // SKIDLOG_REPORT_ANALYSIS_TYRE_MODEL_H_
