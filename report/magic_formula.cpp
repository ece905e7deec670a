#include "report/magic_formula.h"

#include <Eigen/Core>
#include <unsupported/Eigen/NonLinearOptimization>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <vector>

#include "numeric/precision.h"

namespace skidlog {
namespace {

constexpr int parameterCount = 6;
using Vector = Eigen::VectorXd;

// The bounded parameters seen through p = lower + (upper - lower) (1 + sin q) / 2:
// the solver moves q freely, and p never leaves its box.
struct Box {
  std::array<double, parameterCount> lower;
  std::array<double, parameterCount> upper;

  double toParameter(int j, double q) const {
    const auto k = static_cast<std::size_t>(j);
    return lower[k] + (upper[k] - lower[k]) * (1.0 + std::sin(q)) / 2.0;
  }
  double slope(int j, double q) const {
    const auto k = static_cast<std::size_t>(j);
    return (upper[k] - lower[k]) * std::cos(q) / 2.0;
  }
  double toFree(int j, double p) const {
    const auto k = static_cast<std::size_t>(j);
    const double t = 2.0 * (p - lower[k]) / (upper[k] - lower[k]) - 1.0;
    return std::asin(std::clamp(t, -1.0, 1.0));
  }
  MagicFormula curve(const Vector& q) const {
    std::array<double, parameterCount> p{};
    for (int j = 0; j < parameterCount; ++j) p[static_cast<std::size_t>(j)] = toParameter(j, q[j]);
    return MagicFormula::from(p);
  }
};

// Weighted residuals sqrt(w) (model - y) and their Jacobian in the free variables.
struct Residuals {
  using Scalar = double;
  using InputType = Vector;
  using ValueType = Vector;
  using JacobianType = Eigen::MatrixXd;
  enum { InputsAtCompileTime = Eigen::Dynamic, ValuesAtCompileTime = Eigen::Dynamic };

  const std::vector<double>& x;
  const std::vector<double>& y;
  const std::vector<double>& rootWeight;
  const Box& box;

  int inputs() const { return parameterCount; }
  int values() const { return static_cast<int>(x.size()); }

  int operator()(const Vector& q, Vector& r) const {
    const MagicFormula f = box.curve(q);
    for (std::size_t i = 0; i < x.size(); ++i) r[static_cast<Eigen::Index>(i)] = rootWeight[i] * (f(x[i]) - y[i]);
    return 0;
  }

  int df(const Vector& q, Eigen::MatrixXd& jacobian) const {
    const MagicFormula f = box.curve(q);
    std::array<double, parameterCount> chain{};
    for (int j = 0; j < parameterCount; ++j) chain[static_cast<std::size_t>(j)] = box.slope(j, q[j]);
    for (std::size_t i = 0; i < x.size(); ++i) {
      const double shifted = x[i] + f.Sh;
      const double u = f.B * shifted;
      const double a = std::atan(u);
      const double phi = u - f.E * (u - a);
      const double theta = f.C * std::atan(phi);
      const double outer = f.D * std::cos(theta);
      const double dTheta = outer * f.C / (1.0 + phi * phi);
      const double dPhi = 1.0 - f.E * (u * u) / (1.0 + u * u);
      const std::array<double, parameterCount> d = {
          dTheta * dPhi * shifted,  // B
          outer * std::atan(phi),   // C
          std::sin(theta),          // D
          -dTheta * (u - a),        // E
          dTheta * dPhi * f.B,      // Sh
          1.0,                      // Sv
      };
      const auto row = static_cast<Eigen::Index>(i);
      for (int j = 0; j < parameterCount; ++j) {
        const auto k = static_cast<std::size_t>(j);
        jacobian(row, j) = rootWeight[i] * d[k] * chain[k];
      }
    }
    return 0;
  }
};

double median(std::vector<double> v) {
  if (v.empty()) return 0.0;
  const auto mid = v.begin() + static_cast<std::ptrdiff_t>(v.size() / 2);
  std::nth_element(v.begin(), mid, v.end());
  return *mid;
}

struct Sample {
  std::vector<double> x;
  std::vector<double> y;
};

// Cauchy weights at 2.385 robust standard deviations of the residuals of `f`
// (95% efficiency on clean data).
void reweight(const Sample& s, const MagicFormula& f, std::vector<double>& rootWeight) {
  std::vector<double> residual(s.x.size());
  for (std::size_t i = 0; i < s.x.size(); ++i) residual[i] = std::fabs(f(s.x[i]) - s.y[i]);
  const double scale = std::max(2.385 * 1.4826 * median(residual), 1e-6);
  for (std::size_t i = 0; i < s.x.size(); ++i) {
    const double t = residual[i] / scale;
    rootWeight[i] = 1.0 / std::sqrt(1.0 + t * t);
  }
}

// Fits `start` to the sample: `rounds` times Levenberg-Marquardt (at most
// `evaluations` each), reweighting after each. Weighted from the start when
// `robustStart`, so a curve near its optimum is only polished.
MagicFormula refine(const Sample& s, const Box& box, MagicFormula start, int rounds, int evaluations,
                    bool robustStart) {
  std::vector<double> rootWeight(s.x.size(), 1.0);
  if (robustStart) reweight(s, start, rootWeight);
  Vector q(parameterCount);
  const auto p0 = start.parameters();
  for (int j = 0; j < parameterCount; ++j) q[j] = box.toFree(j, p0[static_cast<std::size_t>(j)]);
  for (int round = 0; round < rounds; ++round) {
    Residuals functor{s.x, s.y, rootWeight, box};
    Eigen::LevenbergMarquardt<Residuals> solver(functor);
    solver.parameters.maxfev = evaluations;
    solver.minimize(q);
    reweight(s, box.curve(q), rootWeight);
  }
  return box.curve(q);
}

Sample subsample(const Sample& all, std::size_t most) {
  if (all.x.size() <= most) return all;
  Sample s;
  const double step = static_cast<double>(all.x.size()) / static_cast<double>(most);
  for (std::size_t k = 0; k < most; ++k) {
    const auto i = static_cast<std::size_t>(static_cast<double>(k) * step);
    s.x.push_back(all.x[i]);
    s.y.push_back(all.y[i]);
  }
  return s;
}

// A first guess: the peak from the upper grip percentile, the stiffness from
// the slope of the points nearest zero slip.
MagicFormula firstGuess(const Sample& s, double slipP99, const Box& box, double c, double e) {
  std::vector<double> grip(s.y.size());
  std::transform(s.y.begin(), s.y.end(), grip.begin(), [](double v) { return std::fabs(v); });
  std::nth_element(grip.begin(), grip.begin() + static_cast<std::ptrdiff_t>(grip.size() * 95 / 100), grip.end());
  const double d = grip[grip.size() * 95 / 100];
  double sxy = 0.0, sxx = 0.0;
  for (std::size_t i = 0; i < s.x.size(); ++i) {
    if (std::fabs(s.x[i]) > 0.25 * slipP99) continue;
    sxy += s.x[i] * s.y[i];
    sxx += s.x[i] * s.x[i];
  }
  const double slope = sxx > 0.0 ? sxy / sxx : 1.0;
  MagicFormula f{slope / (c * std::max(d, 0.05)), c, d, e, 0.0, 0.0};
  const auto clampTo = [&](int j, double v) {
    const auto k = static_cast<std::size_t>(j);
    return std::clamp(v, box.lower[k], box.upper[k]);
  };
  auto p = f.parameters();
  for (int j = 0; j < parameterCount; ++j) p[static_cast<std::size_t>(j)] = clampTo(j, p[static_cast<std::size_t>(j)]);
  return MagicFormula::from(p);
}

// R^2 of the curve over the sample, unweighted.
double determination(const Sample& s, const MagicFormula& f) {
  const double mean = std::accumulate(s.y.begin(), s.y.end(), 0.0) / static_cast<double>(s.y.size());
  double total = 0.0, left = 0.0;
  for (std::size_t i = 0; i < s.x.size(); ++i) {
    const double e = s.y[i] - f(s.x[i]);
    left += e * e;
    total += (s.y[i] - mean) * (s.y[i] - mean);
  }
  return total > 0.0 ? 1.0 - left / total : 0.0;
}

// Where the curve is largest in magnitude over [-reach, reach], on a fine grid.
void largestOn(const MagicFormula& f, double reach, double& grip, double& slip) {
  constexpr int steps = 4000;
  grip = -1.0;
  for (int k = -steps; k <= steps; ++k) {
    const double x = reach * k / steps;
    const double y = std::fabs(f(x));
    if (y > grip) {
      grip = y;
      slip = std::fabs(x);
    }
  }
}

}  // namespace

double MagicFormula::operator()(double x) const {
  const double u = B * (x + Sh);
  return D * std::sin(C * std::atan(u - E * (u - std::atan(u)))) + Sv;
}

double quantile(std::span<const float> values, double q) {
  if (values.empty()) return 0.0;
  std::vector<float> copy(values.begin(), values.end());
  const auto k = static_cast<std::size_t>(std::clamp(q, 0.0, 1.0) * static_cast<double>(copy.size() - 1));
  std::nth_element(copy.begin(), copy.begin() + static_cast<std::ptrdiff_t>(k), copy.end());
  return widen(copy[k]);
}

std::optional<CurveFit> fitMagicFormula(std::span<const float> x, std::span<const float> y,
                                        const FitLimits& limits) {
  if (x.size() < minFitPoints) return std::nullopt;
  Sample all;
  all.x.assign(x.begin(), x.end());
  all.y.assign(y.begin(), y.end());
  std::vector<float> magnitude(x.size());
  std::transform(x.begin(), x.end(), magnitude.begin(), [](float v) { return std::fabs(v); });
  CurveFit fit;
  fit.points = x.size();
  fit.slipP99 = quantile(magnitude, 0.99);

  const Box box{limits.lower.parameters(), limits.upper.parameters()};
  // Several shapes on a subsample find the right valley; the best is then
  // refined on every point.
  const Sample few = subsample(all, 2000);
  MagicFormula best;
  double bestR2 = -std::numeric_limits<double>::infinity();
  for (double c : {1.3, 1.8}) {
    for (double e : {-1.0, 0.5}) {
      const MagicFormula f = refine(few, box, firstGuess(few, fit.slipP99, box, c, e), 3, 100, false);
      const double r2 = determination(few, f);
      if (r2 > bestR2) {
        bestR2 = r2;
        best = f;
      }
    }
  }
  fit.curve = best;
  fit.r2 = determination(all, best);
  if (few.x.size() < all.x.size()) {
    // Polished on every point; kept only if it explains them at least as well.
    const MagicFormula polished = refine(all, box, best, 2, 15, true);
    const double r2 = determination(all, polished);
    if (r2 >= fit.r2) {
      fit.curve = polished;
      fit.r2 = r2;
    }
  }

  largestOn(fit.curve, fit.slipP99, fit.peakGrip, fit.peakSlip);
  double anywhereGrip = 0.0, anywhereSlip = 0.0;
  largestOn(fit.curve, std::max(limits.slipReach, fit.slipP99), anywhereGrip, anywhereSlip);
  fit.peakReached = anywhereSlip <= fit.slipP99;
  return fit;
}

}  // namespace skidlog
