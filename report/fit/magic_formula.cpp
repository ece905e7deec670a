#include "report/fit/magic_formula.h"

#include <Eigen/Core>
#include <unsupported/Eigen/NonLinearOptimization>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "numeric/elementary.h"

namespace skidlog {
namespace {

constexpr int parameterCount = coefficientCount;
using Vector = Eigen::VectorXd;

// The bounded coefficients seen through p = lower + (upper - lower) (1 + sin q) / 2:
// the solver moves q freely, and p never leaves its box.
struct Box {
  std::array<double, parameterCount> lower;
  std::array<double, parameterCount> upper;

  double toParameter(int j, double q) const {
    const auto k = static_cast<std::size_t>(j);
    return lower[k] + (upper[k] - lower[k]) * (1.0 + portable::sin(q)) / 2.0;
  }
  double slope(int j, double q) const {
    const auto k = static_cast<std::size_t>(j);
    return (upper[k] - lower[k]) * portable::cos(q) / 2.0;
  }
  double toFree(int j, double p) const {
    const auto k = static_cast<std::size_t>(j);
    if (upper[k] <= lower[k]) return 0.0;  // held
    const double t = 2.0 * (p - lower[k]) / (upper[k] - lower[k]) - 1.0;
    return portable::asin(std::clamp(t, -1.0, 1.0));
  }
  MagicFormula curve(const Vector& q, const MagicFormula& shape) const {
    Coefficients p{};
    for (int j = 0; j < parameterCount; ++j) p[static_cast<std::size_t>(j)] = toParameter(j, q[j]);
    return shape.with(p);
  }
};

// Weighted residuals sqrt(w) (f(x) - y) and their Jacobian in the free
// variables. The solver asks for both at the same coefficients, so each
// point's arctangents, sine and cosine are kept from one call to the next.
struct Residuals {
  using Scalar = double;
  using InputType = Vector;
  using ValueType = Vector;
  using JacobianType = Eigen::MatrixXd;
  enum { InputsAtCompileTime = Eigen::Dynamic, ValuesAtCompileTime = Eigen::Dynamic };

  // One point's curve, broken into its steps.
  struct Terms {
    double shifted, u, a, phi, arc, sine, cosine, peak, extraLoad;
  };

  std::span<const WeightedPoint> points;
  std::vector<double> rootWeight;
  const Box& box;
  const MagicFormula& reference;  // gives the reference load
  mutable Vector evaluatedAt;
  mutable std::vector<Terms> terms;

  int inputs() const { return parameterCount; }
  int values() const { return static_cast<int>(points.size()); }

  const MagicFormula& evaluate(const Vector& q, MagicFormula& f) const {
    f = box.curve(q, reference);
    if (evaluatedAt.size() == q.size() && evaluatedAt == q) return f;
    terms.resize(points.size());
    for (std::size_t i = 0; i < points.size(); ++i) {
      Terms& t = terms[i];
      t.shifted = points[i].x + f.Sh;
      t.u = f.B * t.shifted;
      t.a = portable::atan(t.u);
      t.phi = t.u - f.E * (t.u - t.a);
      t.arc = portable::atan(t.phi);
      const portable::SineCosine sc = portable::sinCos(f.C * t.arc);
      t.sine = sc.sine;
      t.cosine = sc.cosine;
      t.extraLoad = (points[i].load - f.referenceLoad) / 1000.0;  // kN
      t.peak = f.D + f.L * t.extraLoad;
    }
    evaluatedAt = q;
    return f;
  }

  int operator()(const Vector& q, Vector& r) const {
    MagicFormula f;
    evaluate(q, f);
    for (std::size_t i = 0; i < points.size(); ++i) {
      const Terms& t = terms[i];
      r[static_cast<Eigen::Index>(i)] = rootWeight[i] * (t.peak * t.sine + f.Sv - points[i].y);
    }
    return 0;
  }

  int df(const Vector& q, Eigen::MatrixXd& jacobian) const {
    MagicFormula f;
    evaluate(q, f);
    std::array<double, parameterCount> chain{};
    for (int j = 0; j < parameterCount; ++j) chain[static_cast<std::size_t>(j)] = box.slope(j, q[j]);
    for (std::size_t i = 0; i < points.size(); ++i) {
      const Terms& t = terms[i];
      const double outer = t.peak * t.cosine;
      const double dTheta = outer * f.C / (1.0 + t.phi * t.phi);
      const double dPhi = 1.0 - f.E * (t.u * t.u) / (1.0 + t.u * t.u);
      const std::array<double, parameterCount> d = {
          dTheta * dPhi * t.shifted,  // B
          outer * t.arc,              // C
          t.sine,                     // D
          -dTheta * (t.u - t.a),      // E
          dTheta * dPhi * f.B,        // Sh
          1.0,                        // Sv
          t.sine * t.extraLoad,       // L
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

// The u > 0 where u - E (u - atan u) = target, or a negative value when the
// curve never gets there (E = 1 flattens it below pi / 2).
double solvePhi(double E, double target) {
  const auto phi = [E](double u) { return u - E * (u - portable::atan(u)); };
  double high = 1.0;
  for (int k = 0; k < 60 && phi(high) < target; ++k) high *= 2.0;
  if (phi(high) < target) return -1.0;
  double low = 0.0;
  for (int k = 0; k < 80; ++k) {
    const double mid = (low + high) / 2.0;
    (phi(mid) < target ? low : high) = mid;
  }
  return (low + high) / 2.0;
}

}  // namespace

double MagicFormula::operator()(double x) const { return at(x, referenceLoad); }

double MagicFormula::at(double x, double load) const {
  const double u = B * (x + Sh);
  const double peak = D + L * (load - referenceLoad) / 1000.0;
  return peak * portable::sin(C * portable::atan(u - E * (u - portable::atan(u)))) + Sv;
}

CurvePeak largestWithin(const MagicFormula& f, double low, double high) {
  // |y| is largest at an end of the range or where the sine peaks:
  // C atan(phi) = +-pi/2, which exists for C > 1.
  std::vector<double> candidates = {low, high};
  if (f.C > 1.0 && f.B > 0.0) {
    const double u = solvePhi(f.E, portable::tan(std::numbers::pi / (2.0 * f.C)));
    if (u >= 0.0) {
      for (const double x : {u / f.B - f.Sh, -u / f.B - f.Sh}) {
        if (x > low && x < high) candidates.push_back(x);
      }
    }
  }
  CurvePeak best{-1.0, 0.0};
  for (const double x : candidates) {
    const double grip = std::fabs(f(x));
    if (grip > best.grip) best = {grip, x};
  }
  return best;
}

MagicFormula fitWeighted(std::span<const WeightedPoint> points, const MagicFormula& start, const FitLimits& limits,
                         int evaluations, double tolerance) {
  const Box box{limits.lower.coefficients(), limits.upper.coefficients()};
  Residuals functor{points, {}, box, start, {}, {}};
  functor.rootWeight.reserve(points.size());
  for (const WeightedPoint& p : points) functor.rootWeight.push_back(std::sqrt(p.weight));
  Vector q(parameterCount);
  const Coefficients p0 = start.coefficients();
  for (int j = 0; j < parameterCount; ++j) q[j] = box.toFree(j, p0[static_cast<std::size_t>(j)]);
  Eigen::LevenbergMarquardt<Residuals> solver(functor);
  solver.parameters.maxfev = evaluations;
  if (tolerance > 0.0) solver.parameters.ftol = solver.parameters.xtol = tolerance;
  solver.minimize(q);
  return box.curve(q, start);
}

std::array<bool, coefficientCount> onBounds(const MagicFormula& f, const FitLimits& limits) {
  const Coefficients p = f.coefficients(), lower = limits.lower.coefficients(), upper = limits.upper.coefficients();
  std::array<bool, coefficientCount> on{};
  for (std::size_t j = 0; j < p.size(); ++j) {
    const double margin = 1e-3 * (upper[j] - lower[j]);
    on[j] = p[j] <= lower[j] + margin || p[j] >= upper[j] - margin;
  }
  return on;
}

std::vector<std::string> boundedCoefficients(const MagicFormula& f, const FitLimits& limits) {
  const Coefficients lower = limits.lower.coefficients(), upper = limits.upper.coefficients();
  const std::array<bool, coefficientCount> on = onBounds(f, limits);
  std::vector<std::string> bounded;
  for (std::size_t j = 0; j < on.size(); ++j) {
    if (on[j] && upper[j] > lower[j]) bounded.emplace_back(coefficientNames[j]);  // held ones are not fitted
  }
  return bounded;
}

}  // namespace skidlog
