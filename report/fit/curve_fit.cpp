#include "report/fit/curve_fit.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

#include "report/fit/statistics.h"

namespace skidlog {
namespace {

constexpr std::size_t minBins = 8;
constexpr int startEvaluations = 200;
constexpr int refitEvaluations = 40;
// A resample's refit stops once a step changes its numbers by less than a
// part in a million, far below their spread over the resamples.
constexpr double refitTolerance = 1e-6;

// The median grip, mean slip and mean load of every bin, weighted by its
// count: a summary that kerb strikes and slides barely move.
std::vector<WeightedPoint> binMedians(const CurvePoints& p, double width) {
  std::int64_t low = std::numeric_limits<std::int64_t>::max(), high = std::numeric_limits<std::int64_t>::min();
  std::vector<std::int64_t> key(p.x.size());
  for (std::size_t i = 0; i < p.x.size(); ++i) {
    key[i] = static_cast<std::int64_t>(std::floor(static_cast<double>(p.x[i]) / width));
    low = std::min(low, key[i]);
    high = std::max(high, key[i]);
  }
  // A counting sort of the grips by bin.
  const auto bins = static_cast<std::size_t>(high - low + 1);
  std::vector<std::size_t> start(bins + 1, 0);
  std::vector<double> sumX(bins, 0.0), sumLoad(bins, 0.0);
  for (std::size_t i = 0; i < key.size(); ++i) {
    const auto b = static_cast<std::size_t>(key[i] - low);
    ++start[b + 1];
    sumX[b] += static_cast<double>(p.x[i]);
    sumLoad[b] += static_cast<double>(p.load[i]);
  }
  std::partial_sum(start.begin(), start.end(), start.begin());
  std::vector<float> grips(p.y.size());
  std::vector<std::size_t> next(start.begin(), start.end() - 1);
  for (std::size_t i = 0; i < key.size(); ++i) grips[next[static_cast<std::size_t>(key[i] - low)]++] = p.y[i];
  std::vector<WeightedPoint> medians;
  for (std::size_t b = 0; b < bins; ++b) {
    const std::size_t n = start[b + 1] - start[b];
    if (n == 0) continue;
    const auto count = static_cast<double>(n);
    const double grip = median(std::span<float>(grips).subspan(start[b], n));
    medians.push_back({sumX[b] / count, grip, sumLoad[b] / count, count});
  }
  return medians;
}

std::vector<WeightedPoint> binMeans(const std::vector<BinSum>& bins) {
  std::vector<WeightedPoint> means;
  means.reserve(bins.size());
  for (const BinSum& b : bins) {
    if (b.count > 0.0) means.push_back({b.x / b.count, b.y / b.count, b.load / b.count, b.count});
  }
  return means;
}

double squaredError(std::span<const WeightedPoint> points, const MagicFormula& f) {
  double sum = 0.0;
  for (const WeightedPoint& p : points) {
    const double e = f.at(p.x, p.load) - p.y;
    sum += p.weight * e * e;
  }
  return sum;
}

// A first guess of shape (c, e) at `referenceLoad`: the peak from the
// largest grip, the stiffness from the slope of the points nearest zero slip.
MagicFormula firstGuess(std::span<const WeightedPoint> bins, double slipP99, double referenceLoad,
                        const FitLimits& limits, double c, double e) {
  double weight = 0.0, sxy = 0.0, sxx = 0.0, top = 0.0;
  for (const WeightedPoint& b : bins) {
    top = std::max(top, std::fabs(b.y));
    if (std::fabs(b.x) > 0.25 * slipP99) continue;
    weight += b.weight;
    sxy += b.weight * b.x * b.y;
    sxx += b.weight * b.x * b.x;
  }
  const double d = std::max(0.9 * top, 0.05);
  const double slope = sxx > 0.0 && weight > 0.0 ? sxy / sxx : 1.0;
  const MagicFormula guess{slope / (c * d), c, d, e, 0.0, 0.0, 0.0, referenceLoad};
  Coefficients p = guess.coefficients();
  const Coefficients lower = limits.lower.coefficients(), upper = limits.upper.coefficients();
  for (std::size_t j = 0; j < p.size(); ++j) p[j] = std::clamp(p[j], lower[j], upper[j]);
  return guess.with(p);
}

// Several shapes fitted to the bin medians; the one that fits them best.
MagicFormula firstCurve(std::span<const WeightedPoint> medians, double slipP99, double referenceLoad,
                        const FitLimits& limits) {
  MagicFormula best;
  double bestError = std::numeric_limits<double>::infinity();
  for (double c : {1.3, 1.8}) {
    for (double e : {-1.0, 0.5}) {
      const MagicFormula f = fitWeighted(medians, firstGuess(medians, slipP99, referenceLoad, limits, c, e), limits,
                                         startEvaluations);
      if (const double error = squaredError(medians, f); error < bestError) {
        bestError = error;
        best = f;
      }
    }
  }
  return best;
}

// The curve over the points' slips, its shape tabulated on a grid a quarter
// of a bin apart and interpolated linearly (off by less than 1e-4 in grip):
// a pass over every point then costs no sine and no arctangent.
class Tabulated {
 public:
  Tabulated(const MagicFormula& f, std::span<const float> x, double binWidth) : f_(f), step_(binWidth / 4.0) {
    const auto [low, high] = std::minmax_element(x.begin(), x.end());
    first_ = std::floor(static_cast<double>(*low) / step_);
    const auto count = static_cast<std::size_t>(std::ceil(static_cast<double>(*high) / step_) - first_) + 2;
    const MagicFormula shape = f.shape();
    for (std::size_t k = 0; k < count; ++k) shape_.push_back(shape((first_ + static_cast<double>(k)) * step_));
  }

  double operator()(float xValue, float load) const {
    const double at = static_cast<double>(xValue) / step_ - first_;
    const auto k = std::min(static_cast<std::size_t>(at), shape_.size() - 2);
    const double t = at - static_cast<double>(k);
    const double shape = shape_[k] + t * (shape_[k + 1] - shape_[k]);
    return (f_.D + f_.L * (static_cast<double>(load) - f_.referenceLoad) / 1000.0) * shape + f_.Sv;
  }

 private:
  MagicFormula f_;
  double step_;
  double first_ = 0.0;
  std::vector<double> shape_;
};

// Marks the points further than outlierCut robust standard deviations from f.
std::vector<bool> markOutliers(const CurvePoints& p, const Tabulated& f) {
  std::vector<double> residual(p.x.size());
  for (std::size_t i = 0; i < p.x.size(); ++i) residual[i] = std::fabs(static_cast<double>(p.y[i]) - f(p.x[i], p.load[i]));
  std::vector<double> sorted = residual;
  const auto mid = sorted.begin() + static_cast<std::ptrdiff_t>(sorted.size() / 2);
  std::nth_element(sorted.begin(), mid, sorted.end());
  const double sigma = std::max(1.4826 * *mid, 1e-4);
  std::vector<bool> outlier(residual.size());
  for (std::size_t i = 0; i < residual.size(); ++i) outlier[i] = residual[i] > outlierCut * sigma;
  return outlier;
}

// R^2 of the curve over every point, unweighted.
double determination(const CurvePoints& p, const Tabulated& f) {
  double mean = 0.0;
  for (const float y : p.y) mean += static_cast<double>(y);
  mean /= static_cast<double>(p.y.size());
  double total = 0.0, left = 0.0;
  for (std::size_t i = 0; i < p.x.size(); ++i) {
    const auto y = static_cast<double>(p.y[i]);
    const double e = y - f(p.x[i], p.load[i]);
    left += e * e;
    total += (y - mean) * (y - mean);
  }
  return total > 0.0 ? 1.0 - left / total : 0.0;
}

}  // namespace

PeakSummary summarisePeak(const MagicFormula& f, double slipLow, double slipHigh) {
  const CurvePeak within = largestWithin(f, slipLow, slipHigh);
  // largestWithin picks an end of the range or a peak of the curve inside it.
  return {within.grip, std::fabs(within.x), within.x, within.x > slipLow && within.x < slipHigh};
}

bool peakShown(const PeakSummary& peak, const std::vector<BinSum>& bins, double slipP99) {
  if (!peak.reached || peak.slip > slipP99) return false;
  double total = 0.0, beyond = 0.0;
  for (const BinSum& b : bins) {
    if (b.count <= 0.0) continue;
    total += b.count;
    const double x = b.x / b.count;
    if (peak.x > 0.0 ? x > peak.x : x < peak.x) beyond += b.count;
  }
  return beyond >= std::max(minPointsBeyondPeak, minShareBeyondPeak * total);
}

void setSlipRange(std::span<const float> x, CurveFit& fit) {
  std::vector<float> magnitude(x.size());
  std::transform(x.begin(), x.end(), magnitude.begin(), [](float v) { return std::fabs(v); });
  fit.slipP99 = quantile(magnitude, 0.99);
  fit.slipLow = quantile(x, 0.005);
  fit.slipHigh = quantile(x, 0.995);
}

std::optional<FittedCurve> fitCurve(const CurvePoints& p, const FitLimits& limits) {
  if (p.x.size() < minFitPoints) return std::nullopt;
  const std::vector<WeightedPoint> medians = binMedians(p, limits.binWidth);
  if (medians.size() < minBins) return std::nullopt;
  FittedCurve fitted{{}, SlipBins(limits.binWidth), {}};
  CurveFit& fit = fitted.fit;
  fit.points = p.x.size();
  setSlipRange(p.x, fit);

  double loads = 0.0;
  for (const float load : p.load) loads += static_cast<double>(load);
  const MagicFormula first = firstCurve(medians, fit.slipP99, loads / static_cast<double>(p.load.size()), limits);
  fitted.outlier = markOutliers(p, Tabulated(first, p.x, limits.binWidth));
  for (std::size_t i = 0; i < p.x.size(); ++i) {
    if (fitted.outlier[i]) {
      ++fit.outliers;
    } else {
      fitted.bins.add(p.block[i], p.x[i], p.y[i], p.load[i]);
    }
  }
  const std::vector<BinSum>& joined = fitted.bins.totals();
  fit.curve = fitWeighted(binMeans(joined), first, limits, startEvaluations);
  fit.r2 = determination(p, Tabulated(fit.curve, p.x, limits.binWidth));
  // The slips the data covers read from the bins, as every refit reads them
  // from its resampled bins: the estimate is then one of its own refits.
  fit.peak = summarisePeak(fit.curve, binnedSlipQuantile(joined, limits.binWidth, 0.005),
                           binnedSlipQuantile(joined, limits.binWidth, 0.995));
  fit.peak.reached = peakShown(fit.peak, joined, fit.slipP99);
  fit.bounded = boundedCoefficients(fit.curve, limits);
  return fitted;
}

MagicFormula refitBins(const std::vector<BinSum>& bins, const MagicFormula& start, const FitLimits& limits) {
  const std::vector<WeightedPoint> means = binMeans(bins);
  if (means.size() < minBins) return start;
  // A coefficient the data left on a bound is held there: the data does not
  // determine it, and the solver would only crawl along the bound.
  FitLimits held = limits;
  Coefficients lower = limits.lower.coefficients(), upper = limits.upper.coefficients();
  const Coefficients c = start.coefficients();
  const std::array<bool, coefficientCount> on = onBounds(start, limits);
  for (std::size_t j = 0; j < c.size(); ++j) {
    if (on[j]) lower[j] = upper[j] = c[j];
  }
  held.lower = limits.lower.with(lower);
  held.upper = limits.upper.with(upper);
  return fitWeighted(means, start, held, refitEvaluations, refitTolerance);
}

double binnedSlipQuantile(const std::vector<BinSum>& bins, double width, double q) {
  struct Slice {
    double x;
    double count;
  };
  std::vector<Slice> slices;
  double total = 0.0;
  for (const BinSum& b : bins) {
    if (b.count <= 0.0) continue;
    slices.push_back({b.x / b.count, b.count});
    total += b.count;
  }
  if (slices.empty()) return 0.0;
  std::sort(slices.begin(), slices.end(), [](const Slice& a, const Slice& b) { return a.x < b.x; });
  const double wanted = q * total;
  double below = 0.0;
  for (const Slice& s : slices) {
    if (below + s.count >= wanted) return s.x + width * ((wanted - below) / s.count - 0.5);
    below += s.count;
  }
  return slices.back().x;
}

}  // namespace skidlog
