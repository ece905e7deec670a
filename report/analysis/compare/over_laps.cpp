#include "report/analysis/compare/over_laps.h"

#include <algorithm>
#include <cmath>

#include "report/fit/statistics.h"
#include "report/inference/student_t.h"

namespace skidlog {
namespace {

// The mean's 95 % interval from the spread and its degrees of freedom.
void setInterval(OverLaps& o) {
  const double half = studentT975(o.df) * o.spread / std::sqrt(static_cast<double>(o.laps));
  o.ci = {o.mean - half, o.mean + half};
}

}  // namespace

OverLaps overLaps(std::span<const double> values) {
  OverLaps o;
  double sum = 0.0;
  for (const double v : values) {
    if (std::isnan(v)) continue;
    sum += v;
    ++o.laps;
  }
  if (o.laps == 0) return o;
  const auto n = static_cast<double>(o.laps);
  o.mean = sum / n;
  o.ci = {o.mean, o.mean};
  if (o.laps < 2) return o;
  double squares = 0.0;
  for (const double v : values) {
    if (!std::isnan(v)) squares += (v - o.mean) * (v - o.mean);
  }
  o.spread = std::sqrt(squares / (n - 1.0));
  o.df = n - 1.0;
  setInterval(o);
  return o;
}

void takeModerated(OverLaps& o, double variance, double df) {
  o.spread = std::sqrt(variance);
  o.df = df;
  setInterval(o);
}

namespace {

// Welch-Satterthwaite degrees of freedom of two groups' variances of the
// mean, rounded down (at least one).
double welchDegrees(double v1, double df1, double v2, double df2) {
  const double numerator = (v1 + v2) * (v1 + v2);
  const double denominator = v1 * v1 / df1 + v2 * v2 / df2;
  if (!(denominator > 0.0)) return std::floor(df1 + df2);
  const double df = numerator / denominator;
  return std::clamp(std::floor(df), 1.0, 1e6);
}

}  // namespace

double resolutionSpread(double resolution) { return resolution / std::sqrt(12.0); }

LapDifference differenceOverLaps(const OverLaps& from, const OverLaps& to, double minSpread) {
  LapDifference d;
  if (!from.known() || !to.known()) return d;
  d.delta = to.mean - from.mean;
  d.ci = {d.delta, d.delta};
  if (from.hasInterval() && to.hasInterval()) {
    d.basis = LapBasis::welch;
    const double s1 = std::max(from.spread, minSpread), s2 = std::max(to.spread, minSpread);
    const double v1 = s1 * s1 / static_cast<double>(from.laps);
    const double v2 = s2 * s2 / static_cast<double>(to.laps);
    d.df = welchDegrees(v1, from.df, v2, to.df);
    d.standardError = std::sqrt(v1 + v2);
    const double half = studentT975(d.df) * d.standardError;
    d.ci = {d.delta - half, d.delta + half};
  } else if (from.hasInterval() || to.hasInterval()) {
    d.basis = LapBasis::oneAgainstMany;
    const OverLaps& many = from.hasInterval() ? from : to;
    d.otherLaps = many.laps;
    const auto n = static_cast<double>(many.laps);
    const double spread = std::max(many.spread, minSpread);
    d.df = many.df;
    d.standardError = spread * std::sqrt(1.0 + 1.0 / n);
    const double half = studentT975(d.df) * d.standardError;
    d.ci = {d.delta - half, d.delta + half};
  } else {
    d.basis = LapBasis::oneLapEach;
  }
  return d;
}

}  // namespace skidlog
