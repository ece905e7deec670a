// Lap-to-lap spreads measured on few laps, each moderated toward a prior
// fitted over many: a track's corners share much of their variation (one
// driver, one car, one session), so a corner's spread over two laps is
// combined with what the other corners show. The prior is an inverse
// chi-square with scale s0^2 and d0 degrees of freedom, fitted by maximum
// likelihood (each variance over s0^2 follows F(d, d0)); a corner's
// moderated variance is
// (d0 s0^2 + d s^2) / (d0 + d) with d0 + d degrees of freedom.
#ifndef SKIDLOG_REPORT_INFERENCE_MODERATED_VARIANCE_H_
#define SKIDLOG_REPORT_INFERENCE_MODERATED_VARIANCE_H_

#include <cstddef>
#include <limits>
#include <span>
#include <vector>

namespace skidlog {

// One corner's spread in one group: its sample variance over the laps and
// their degrees of freedom (laps - 1), and the log of its size where the
// spread grows with it (a corner's time), else 0.
struct Spread {
  double variance = 0.0;
  double df = 0.0;
  double logSize = 0.0;
};

struct Prior {
  double df = 0.0;  // d0: 0 where no prior could be fitted
  double logScale2 = std::numeric_limits<double>::quiet_NaN();  // log s0^2 at the mean log size
  double trend = std::numeric_limits<double>::quiet_NaN();      // d log s0^2 / d log size; NaN without a trend
  double centre = 0.0;      // the features' mean log size
  std::size_t features = 0;  // fitted on
  std::vector<bool> erratic;  // per spread given: too large for the prior, keeps its own

  bool known() const { return df > 0.0; }
  // s0^2 at a feature of this log size.
  double varianceAt(double logSize) const;
  // s0 at the mean size.
  double scale() const;
};

// Fewer features than this fit no prior.
inline constexpr std::size_t minPriorFeatures = 3;
// With this many features or more, a trend against size is fitted where asked.
inline constexpr std::size_t minTrendFeatures = 6;

// The prior over `spreads` (those with df >= 1 and a finite, positive
// variance take part). Its degrees of freedom are capped at the sum of the
// features' own: a prior is worth no more laps than went into it, so five
// corners of one degree of freedom each give at most 5, never a known
// variance. A
// feature whose variance the prior makes improbable (an F test against the
// prior fitted without it, 5 % over all features, Bonferroni) is erratic: it
// is left out of the fit and keeps its own variance, unshrunk.
Prior fitPrior(std::span<const Spread> spreads, bool withTrend);

struct Moderated {
  double variance = std::numeric_limits<double>::quiet_NaN();
  double df = 0.0;
};

// The moderated variance of a spread, with d0 + d degrees of freedom: its
// own where the prior is unknown or the spread `erratic` (the prior does not
// describe it, so it borrows neither its variance nor its degrees of
// freedom); (d0 s0^2 + d s^2) / (d0 + d), but never less than its own,
// otherwise; the prior's alone for a spread of no degrees of freedom (one
// lap).
Moderated moderate(const Spread& s, const Prior& prior, bool erratic = false);

}  // namespace skidlog

#endif  // SKIDLOG_REPORT_INFERENCE_MODERATED_VARIANCE_H_
