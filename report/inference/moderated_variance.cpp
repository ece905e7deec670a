#include "report/inference/moderated_variance.h"

#include <algorithm>
#include <cmath>

#include "numeric/elementary.h"
#include "report/inference/gamma_functions.h"

namespace skidlog {
namespace {

// The significance, over all features together, at which a feature is erratic.
constexpr double erraticLevel = 0.05;
// The prior is worth at most this share of the degrees of freedom it was
// fitted on: no more laps than went into it.
constexpr double priorShare = 1.0;
// How far the log likelihood falls at the ends of d0's one-standard-error
// likelihood interval.
constexpr double likelihoodDrop = 0.5;
// The least a prior is worth, where the corners' best estimate is no lower:
// one South City session's nine laps show its corners alike at eight
// degrees of freedom each (segment spreads 0.23 to 0.39 s).
constexpr double minPriorDf = 4.0;
// Up to this many features, each is judged erratic against the prior fitted
// without it.
constexpr std::size_t leaveOneOutFeatures = 40;

bool usable(const Spread& s) { return s.df >= 1.0 && std::isfinite(s.variance) && s.variance > 0.0; }

// log of the density of s^2 / s0^2 ~ F(d, d0) at x, less log s0^2 (the
// density of s^2 itself), without the terms that do not depend on the prior.
double logDensity(double logX, double d, double d0) {
  const double x = portable::exp(logX);
  return (d / 2.0) * (portable::log(d / d0) + logX) - ((d + d0) / 2.0) * portable::log(1.0 + d * x / d0) -
         (logGamma(d / 2.0) + logGamma(d0 / 2.0) - logGamma((d + d0) / 2.0));
}

struct Feature {
  double logVariance;
  double df;
  double offset;  // the trend's part of log s0^2 at this feature
};

// The log s0^2 that makes the features most likely at prior degrees of
// freedom d0: the root of the log likelihood's slope, which falls as log
// s0^2 grows (the likelihood is concave in it), by bisection.
double bestLogScale(const std::vector<Feature>& f, double d0) {
  double low = f[0].logVariance, high = f[0].logVariance;
  for (const Feature& x : f) {
    low = std::min(low, x.logVariance - x.offset);
    high = std::max(high, x.logVariance - x.offset);
  }
  low -= 20.0;
  high += 20.0;
  for (int k = 0; k < 80; ++k) {
    const double mid = low + (high - low) / 2.0;
    double slope = 0.0;
    for (const Feature& x : f) {
      const double r = x.df * portable::exp(x.logVariance - x.offset - mid);
      slope += x.df / 2.0 - ((x.df + d0) / 2.0) * (r / (d0 + r));
    }
    // The slope in the features' log x, which falls as log s0^2 grows: a
    // rising likelihood in log x puts the best log s0^2 below. Once the ends
    // are neighbouring doubles a step may leave them as they are, and every
    // later step would repeat it: the search has ended.
    if (slope > 0.0) {
      if (high == mid) break;
      high = mid;
    } else {
      if (low == mid) break;
      low = mid;
    }
  }
  return low + (high - low) / 2.0;
}

double profileLikelihood(const std::vector<Feature>& f, double d0, double& logScale2) {
  logScale2 = bestLogScale(f, d0);
  double sum = 0.0;
  for (const Feature& x : f) sum += logDensity(x.logVariance - x.offset - logScale2, x.df, d0);
  return sum;
}

// The d0 that makes the features most likely, from a half up to `cap`, by
// golden section on its log (s0^2 at each by its own maximum), and that
// likelihood.
struct BestDf {
  double logDf;
  double likelihood;
};

BestDf likeliestDf(const std::vector<Feature>& f, double cap) {
  constexpr double golden = 0.6180339887498949;
  double scale = 0.0;
  double a = portable::log(0.5), b = portable::log(std::max(cap, 0.5));
  double c = b - golden * (b - a), d = a + golden * (b - a);
  double fc = profileLikelihood(f, portable::exp(c), scale), fd = profileLikelihood(f, portable::exp(d), scale);
  for (int k = 0; k < 40; ++k) {
    if (fc >= fd) {
      b = d;
      d = c;
      fd = fc;
      c = b - golden * (b - a);
      fc = profileLikelihood(f, portable::exp(c), scale);
    } else {
      a = c;
      c = d;
      fc = fd;
      d = a + golden * (b - a);
      fd = profileLikelihood(f, portable::exp(d), scale);
    }
  }
  BestDf best{fc >= fd ? c : d, std::max(fc, fd)};
  // The cap itself, where the likelihood still rises toward it.
  const double atCap = profileLikelihood(f, std::max(cap, 0.5), scale);
  if (atCap >= best.likelihood) best = {portable::log(std::max(cap, 0.5)), atCap};
  return best;
}

// Features of one or two degrees of freedom each say little of how alike
// the corners are: the likelihood is flat over a wide range of d0, and its
// best often sits at the cap even where a corner's laps fall into two ways
// of taking it (on the limit or under it, one gear or another). The prior
// takes the low end of d0's one-standard-error likelihood interval (the
// smallest d0 within half a unit of the best log likelihood), so that it
// borrows only what the corners firmly show; but at least minPriorDf where
// the best allows it: one driver's corners in one car are taken to be that
// alike unless they show otherwise.
double firmDf(const std::vector<Feature>& f, const BestDf& best) {
  const double enough = best.likelihood - likelihoodDrop;
  double scale = 0.0;
  double low = portable::log(0.5), high = best.logDf;
  if (profileLikelihood(f, 0.5, scale) >= enough) {
    high = low;
  } else {
    for (int k = 0; k < 60; ++k) {
      const double mid = low + (high - low) / 2.0;
      // As in bestLogScale, a step that leaves the ends ends the search.
      if (profileLikelihood(f, portable::exp(mid), scale) >= enough) {
        if (high == mid) break;
        high = mid;
      } else {
        if (low == mid) break;
        low = mid;
      }
    }
  }
  return std::max(portable::exp(high), std::min(portable::exp(best.logDf), minPriorDf));
}

// The steepest trend of log s0^2 against log size: a spread that grows in
// proportion to its size.
constexpr double maxTrend = 2.0;

// The prior from the features `use` marks, by maximum likelihood: each
// variance over s0^2 follows F(d, d0). Its trend, where fitted, is the least
// squares slope of the log variances against log size; d0 is sought between
// a half and the cap (firmDf), s0^2 at it by its own maximum. Unlike the
// moments of the log variances, a corner whose two laps happen to agree
// closely (a log variance far below the rest, as one degree of freedom
// often gives) does not make the corners look unlike each other.
Prior fitLikelihood(std::span<const Spread> spreads, const std::vector<bool>& use, bool withTrend) {
  Prior p;
  std::vector<Feature> f;
  double totalDf = 0.0, meanX = 0.0;
  for (std::size_t i = 0; i < spreads.size(); ++i) {
    if (!use[i]) continue;
    f.push_back({portable::log(spreads[i].variance), spreads[i].df, 0.0});
    meanX += spreads[i].logSize;
    totalDf += spreads[i].df;
  }
  const std::size_t m = f.size();
  p.features = m;
  if (m < minPriorFeatures) return p;
  meanX /= static_cast<double>(m);
  p.centre = meanX;
  if (withTrend && m >= minTrendFeatures) {
    double meanY = 0.0;
    for (const Feature& x : f) meanY += x.logVariance;
    meanY /= static_cast<double>(m);
    double sxy = 0.0, sxx = 0.0;
    std::size_t k = 0;
    for (std::size_t i = 0; i < spreads.size(); ++i) {
      if (!use[i]) continue;
      const double dx = spreads[i].logSize - meanX;
      sxy += dx * (f[k++].logVariance - meanY);
      sxx += dx * dx;
    }
    if (sxx > 0.0) {
      // From a dozen spreads of one or two degrees of freedom the slope is
      // loose (15 where the sizes span little): held between a spread that
      // does not fall as its size grows and one that grows as fast as its
      // size, the same share of it everywhere.
      p.trend = std::clamp(sxy / sxx, 0.0, maxTrend);
      k = 0;
      for (std::size_t i = 0; i < spreads.size(); ++i) {
        if (use[i]) f[k++].offset = p.trend * (spreads[i].logSize - meanX);
      }
    }
  }
  p.df = firmDf(f, likeliestDf(f, totalDf * priorShare));
  profileLikelihood(f, p.df, p.logScale2);
  return p;
}

// P(F >= ratio) for F with (d1, d2) degrees of freedom.
double upperF(double ratio, double d1, double d2) {
  const double sum = d2 + d1 * ratio;
  return incompleteBeta(d2 / 2.0, d1 / 2.0, d2 / sum, d1 * ratio / sum);
}

}  // namespace

double Prior::varianceAt(double logSize) const {
  const double slope = std::isnan(trend) ? 0.0 : trend;
  return portable::exp(logScale2 + slope * (logSize - centre));
}

double Prior::scale() const { return std::sqrt(portable::exp(logScale2)); }

Prior fitPrior(std::span<const Spread> spreads, bool withTrend) {
  std::vector<bool> use(spreads.size());
  std::size_t m = 0;
  for (std::size_t i = 0; i < spreads.size(); ++i) {
    use[i] = usable(spreads[i]);
    m += use[i];
  }
  Prior all = fitLikelihood(spreads, use, withTrend);
  all.erratic.assign(spreads.size(), false);
  if (!all.known()) return all;
  // Each feature against the prior of the others, so that an erratic corner
  // can neither hide itself nor widen the prior it is judged by. Among many
  // features one moves the prior by little: each is judged against the
  // prior of all, one fit rather than one per feature.
  const bool leaveOneOut = m <= leaveOneOutFeatures;
  std::vector<bool> kept = use;
  bool anyErratic = false;
  for (std::size_t i = 0; i < spreads.size(); ++i) {
    if (!use[i]) continue;
    Prior others;
    if (leaveOneOut) {
      kept[i] = false;
      others = fitLikelihood(spreads, kept, withTrend);
      kept[i] = true;
    }
    const Prior& p = leaveOneOut ? others : all;
    if (!p.known()) continue;
    const double ratio = spreads[i].variance / p.varianceAt(spreads[i].logSize);
    if (ratio > 1.0 && upperF(ratio, spreads[i].df, p.df) < erraticLevel / static_cast<double>(m)) {
      all.erratic[i] = true;
      anyErratic = true;
    }
  }
  for (std::size_t i = 0; i < spreads.size(); ++i) kept[i] = use[i] && !all.erratic[i];
  if (!anyErratic) return all;
  Prior robust = fitLikelihood(spreads, kept, withTrend);
  robust.erratic = all.erratic;
  return robust;
}

Moderated moderate(const Spread& s, const Prior& prior, bool erratic) {
  if (!prior.known() || (erratic && s.df > 0.0)) return {s.variance, s.df};
  const double prior2 = prior.varianceAt(s.logSize);
  if (!(s.df > 0.0) || !std::isfinite(s.variance)) return {prior2, prior.df};
  const double shrunk = (prior.df * prior2 + s.df * s.variance) / (prior.df + s.df);
  // A spread is drawn up toward the prior but never down: corners are not
  // all alike (a driver's hairpin varies more than his kink), and a corner
  // whose laps spread widely is taken at its word, with the prior's degrees
  // of freedom for how far spreads stray.
  return {std::max(s.variance, shrunk), prior.df + s.df};
}

}  // namespace skidlog
