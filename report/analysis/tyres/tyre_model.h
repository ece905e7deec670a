// A tyre's fits as its bootstrap replicates need them: the fitted curves with
// their bin sums, and the load bands' bin sums; and one replicate's numbers.
#ifndef SKIDLOG_REPORT_ANALYSIS_TYRES_TYRE_MODEL_H_
#define SKIDLOG_REPORT_ANALYSIS_TYRES_TYRE_MODEL_H_

#include <array>
#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <vector>

#include "report/analysis/tyres/tyre_analysis.h"
#include "report/fit/slip_bins.h"

namespace skidlog {

struct TyreModel {
  TyreAnalysis analysis;  // the point estimates; no intervals yet
  std::optional<FittedCurve> lateral;
  std::optional<FittedCurve> longitudinal;
};

// The load sensitivity from like with like: within each bin of slip (one
// side of the curve, one slip angle), how grip changes with load, pooled over
// the bins of each side by least squares, the two sides then averaged. A
// relative change k per kN of the grip the slip gives, g, changes grip by k g
// per kN, so each bin's slope is weighed by the curve's grip there (less its
// shift at zero slip). Load is then never compared across slips or between
// the two directions of cornering, k does not depend on the curve's shape, and
// a lap's mix of left- and right-hand corners does not move it. Relative
// change of lateral grip per kN; NaN when no bin holds a spread of loads.
double relativeLoadSensitivity(const std::vector<BinSum>& bins, const MagicFormula& curve);

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

#endif  // SKIDLOG_REPORT_ANALYSIS_TYRES_TYRE_MODEL_H_
