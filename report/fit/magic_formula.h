// Pacejka's Magic Formula with a peak factor that changes with the normal
// load, the box its fitted coefficients stay in, its peak, and its weighted
// least-squares fit.
//   y = D(N) sin(C atan(B x' - E (B x' - atan(B x')))) + Sv,   x' = x + Sh
//   D(N) = D + L (N - Nref) / 1000 N
// D is the peak factor at the reference load Nref, L its change per kN.
#ifndef SKIDLOG_REPORT_FIT_MAGIC_FORMULA_H_
#define SKIDLOG_REPORT_FIT_MAGIC_FORMULA_H_

#include <array>
#include <span>
#include <string>
#include <vector>

namespace skidlog {

inline constexpr int coefficientCount = 7;
using Coefficients = std::array<double, coefficientCount>;

struct MagicFormula {
  double B = 0.0;   // stiffness factor, 1 / unit of slip
  double C = 0.0;   // shape factor
  double D = 0.0;   // peak factor at the reference load, grip
  double E = 0.0;   // curvature factor
  double Sh = 0.0;  // horizontal shift, unit of slip
  double Sv = 0.0;  // vertical shift, grip
  double L = 0.0;   // change of the peak factor per kN of normal load
  double referenceLoad = 0.0;  // N; not fitted

  // The curve at the reference load.
  double operator()(double x) const;
  // The curve at normal load `load` N.
  double at(double x, double load) const;
  // B C D: the slope at small slip at the reference load, grip per unit of slip.
  double corneringStiffness() const { return B * C * D; }
  // The curve's shape: a peak factor of 1, no vertical shift, no change with load.
  MagicFormula shape() const { return {B, C, 1.0, E, Sh, 0.0, 0.0, referenceLoad}; }
  Coefficients coefficients() const { return {B, C, D, E, Sh, Sv, L}; }
  // The coefficients in `c` with this curve's reference load.
  MagicFormula with(const Coefficients& c) const { return {c[0], c[1], c[2], c[3], c[4], c[5], c[6], referenceLoad}; }
};

inline constexpr std::array<const char*, coefficientCount> coefficientNames = {"B", "C", "D", "E", "Sh", "Sv", "L"};

// The box every fitted coefficient stays in (C at least 1; a coefficient
// whose bounds are equal is held there), and the width of the slip bins the
// curve is fitted to.
struct FitLimits {
  MagicFormula lower;
  MagicFormula upper;
  double binWidth = 0.0;
};

// The largest |y| of the curve for x in [low, high], and the x where it lies.
struct CurvePeak {
  double grip = 0.0;
  double x = 0.0;
};
CurvePeak largestWithin(const MagicFormula& f, double low, double high);

struct WeightedPoint {
  double x = 0.0;
  double y = 0.0;
  double load = 0.0;  // N
  double weight = 0.0;
};

// Minimises sum weight (f(x, load) - y)^2 from `start` by Levenberg-Marquardt
// (Eigen's) with at most `evaluations` evaluations, stopping when a step
// changes the sum or the coefficients by less than `tolerance` relative
// (0: the solver's default, about 1.5e-8); every coefficient stays inside
// the box. REQUIRES: start lies inside the box.
MagicFormula fitWeighted(std::span<const WeightedPoint> points, const MagicFormula& start, const FitLimits& limits,
                         int evaluations, double tolerance = 0.0);

// Whether each coefficient sits at a bound of the box (within 0.1 % of its
// width); a held coefficient always does.
std::array<bool, coefficientCount> onBounds(const MagicFormula& f, const FitLimits& limits);

// The fitted coefficients that sit at a bound of the box: the data does not
// determine them.
std::vector<std::string> boundedCoefficients(const MagicFormula& f, const FitLimits& limits);

}  // namespace skidlog

#endif  // SKIDLOG_REPORT_FIT_MAGIC_FORMULA_H_
