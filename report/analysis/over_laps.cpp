#include "report/analysis/over_laps.h"

#include <algorithm>
#include <cmath>

#include "report/fit/statistics.h"

namespace skidlog {

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
  const double half = studentT975(static_cast<int>(o.laps - 1)) * o.spread / std::sqrt(n);
  o.ci = {o.mean - half, o.mean + half};
  return o;
}

namespace {

// Welch-Satterthwaite degrees of freedom of two groups' variances of the
// mean, rounded down (at least one).
int welchDegrees(double v1, std::size_t n1, double v2, std::size_t n2) {
  const double numerator = (v1 + v2) * (v1 + v2);
  const double denominator = v1 * v1 / static_cast<double>(n1 - 1) + v2 * v2 / static_cast<double>(n2 - 1);
  if (!(denominator > 0.0)) return static_cast<int>(n1 + n2 - 2);
  const double df = numerator / denominator;
  return static_cast<int>(std::clamp(std::floor(df), 1.0, 1e6));
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
    const double half = studentT975(welchDegrees(v1, from.laps, v2, to.laps)) * std::sqrt(v1 + v2);
    d.ci = {d.delta - half, d.delta + half};
  } else if (from.hasInterval() || to.hasInterval()) {
    d.basis = LapBasis::oneAgainstMany;
    const OverLaps& many = from.hasInterval() ? from : to;
    d.otherLaps = many.laps;
    const auto n = static_cast<double>(many.laps);
    const double spread = std::max(many.spread, minSpread);
    const double half = studentT975(static_cast<int>(many.laps - 1)) * spread * std::sqrt(1.0 + 1.0 / n);
    d.ci = {d.delta - half, d.delta + half};
  } else {
    d.basis = LapBasis::oneLapEach;
  }
  return d;
}

}  // namespace skidlog
