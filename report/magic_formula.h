// Pacejka's Magic Formula and its robust fit to a tyre's grip against slip.
//   y = D sin(C atan(B x' - E (B x' - atan(B x')))) + Sv,   x' = x + Sh
#ifndef SKIDLOG_REPORT_MAGIC_FORMULA_H_
#define SKIDLOG_REPORT_MAGIC_FORMULA_H_

#include <array>
#include <cstddef>
#include <optional>
#include <span>

namespace skidlog {

struct MagicFormula {
  double B = 0.0;   // stiffness factor, 1 / unit of slip
  double C = 0.0;   // shape factor
  double D = 0.0;   // peak factor, grip
  double E = 0.0;   // curvature factor
  double Sh = 0.0;  // horizontal shift, unit of slip
  double Sv = 0.0;  // vertical shift, grip

  double operator()(double x) const;
  std::array<double, 6> parameters() const { return {B, C, D, E, Sh, Sv}; }
  static MagicFormula from(const std::array<double, 6>& p) { return {p[0], p[1], p[2], p[3], p[4], p[5]}; }
};

// The box every fitted parameter stays in, and how far the curve is looked
// at for its peak (slip units either side of zero).
struct FitLimits {
  MagicFormula lower;
  MagicFormula upper;
  double slipReach = 0.0;
};

struct CurveFit {
  MagicFormula curve;
  std::size_t points = 0;
  double r2 = 0.0;         // of the curve over every fitted point
  double slipP99 = 0.0;    // 99th percentile of |x| over the fitted points
  double peakGrip = 0.0;   // largest |y| of the curve for |x| <= slipP99
  double peakSlip = 0.0;   // the |x| where it lies
  bool peakReached = false;  // the curve's largest |y| anywhere lies within slipP99
};

// Fewer fitted points than this give no fit.
inline constexpr std::size_t minFitPoints = 50;

// Fits y against x by robust least squares: Levenberg-Marquardt inside
// iteratively reweighted least squares with Cauchy weights, so kerb strikes
// and slides count little. Starts from several shapes on a subsample, then
// refines the best on every point. Empty below minFitPoints points.
// REQUIRES: x.size() == y.size(), every value finite.
std::optional<CurveFit> fitMagicFormula(std::span<const float> x, std::span<const float> y,
                                        const FitLimits& limits);

// The q-th quantile (0 to 1) of `values`, by partial sort of a copy.
double quantile(std::span<const float> values, double q);

}  // namespace skidlog

#endif  // SKIDLOG_REPORT_MAGIC_FORMULA_H_
