#include "report/laps/corners/corner_priors.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "numeric/elementary.h"
#include "report/inference/student_t.h"
#include "report/laps/lap_analysis.h"
#include "report/quantity/quantities.h"

namespace skidlog {
namespace {

// The quantities whose spread grows with the corner's size, and the size:
// the corner's own time for its time, its segment's for the rest.
bool timed(std::size_t key) {
  return key == cornerTime || key == segmentTime || key == segmentDelta || key == entryDelta || key == exitDelta;
}

// The log of a corner's mean of `key` (a time) over every lap through it.
double logMeanTime(const CornerResult& c, std::size_t key) {
  double sum = 0.0;
  std::size_t n = 0;
  for (const CornerLap& l : c.laps) {
    if (std::isfinite(l.value[key]) && l.value[key] > 0.0) {
      sum += l.value[key];
      ++n;
    }
  }
  return n > 0 ? portable::log(sum / static_cast<double>(n)) : 0.0;
}

// The same for each of the track's corners.
std::vector<double> logMeanTimes(const TrackAnalysis& track, std::size_t key) {
  std::vector<double> out;
  for (const CornerResult& c : track.corners) out.push_back(logMeanTime(c, key));
  return out;
}

// Each corner's log size: its own time's and its segment's.
struct CornerSizes {
  std::vector<double> corner;
  std::vector<double> segment;
  std::vector<double> none;  // all 0, for the untimed numbers

  // The sizes `key`'s spread grows with: the corner's own time for its
  // time, its segment's for the rest of the times.
  const std::vector<double>& of(std::size_t key) const {
    if (!timed(key)) return none;
    return key == cornerTime ? corner : segment;
  }
};

// The share of a segment's lap-to-lap spread that moves every segment of the
// lap together, as one driver's session of nine South City laps shows it
// (their mean correlation: the lap times spread 0.90 s where the segments'
// variances sum to 0.69^2 s^2), and the laps that estimate is worth as a
// prior for a report's own.
constexpr double sharedPrior = 0.2;
constexpr double sharedPriorLaps = 4.0;

// The variance of a spread, no smaller than its quantity's resolution allows.
double flooredVariance(double spread, double resolution) {
  const double floor = resolutionSpread(resolution);
  return std::max(spread * spread, floor * floor);
}

// Moderates one corner number over the track's corners and groups: `of`
// gives a group's number, `atLimit` whether all its laps sit at a limit,
// `logSize` the log of its size at a corner (with `trend`, the prior's
// spread follows it).
//
// A spread whose laps disagree past what the number can be (one lap in
// another gear, a slide: its own 95 % range of a lap passes the number's
// reach on the track) takes no part: it would only widen every other
// corner's, and keeps its own.
template <typename Of, typename AtLimit, typename LogSize>
Prior moderateNumber(TrackAnalysis& track, Of of, AtLimit atLimit, double resolution, double reach, bool trend,
                     LogSize logSize) {
  std::vector<Spread> spreads;
  std::vector<OverLaps*> targets;
  for (std::size_t c = 0; c < track.corners.size(); ++c) {
    for (CornerGroup& g : track.corners[c].groups) {
      OverLaps& o = of(g);
      if (o.laps < 2 || atLimit(g) || !std::isfinite(o.spread)) continue;
      if (studentT975(o.df) * o.spread > reach) continue;
      spreads.push_back({flooredVariance(o.spread, resolution), o.df, logSize(c, o)});
      targets.push_back(&o);
    }
  }
  Prior prior = fitPrior(spreads, trend);
  if (!prior.known()) return prior;
  for (std::size_t i = 0; i < spreads.size(); ++i) {
    const Moderated m = moderate(spreads[i], prior, prior.erratic[i]);
    takeModerated(*targets[i], flooredVariance(std::sqrt(m.variance), resolution), m.df);
  }
  return prior;
}

TrackPrior moderateKey(TrackAnalysis& track, std::size_t key, const std::vector<double>& sizes) {
  const auto of = [key](CornerGroup& g) -> OverLaps& { return g.value[key]; };
  const auto atLimit = [key](const CornerGroup& g) { return g.atLimit[key] == g.value[key].laps; };
  const auto logSize = [&sizes](std::size_t c, const OverLaps&) { return sizes[c]; };
  const double reach = reachOf(*quantityNamed(cornerKeyNames[key]), scaleOf(track));
  return {cornerKeyNames[key], moderateNumber(track, of, atLimit, cornerKeyGrain[key], reach, timed(key), logSize)};
}

// A phase's number, each phase's and wheel's its own prior: a corner's
// middle holds still where its entry and exit move.
TrackPrior moderatePhaseKey(TrackAnalysis& track, std::size_t phase, std::size_t key, const std::vector<double>& sizes) {
  const auto of = [phase, key](CornerGroup& g) -> OverLaps& { return g.phase[phase][key]; };
  const auto never = [](const CornerGroup&) { return false; };
  // A damper's speeds spread more where they run faster (a kerb, a bumpy
  // braking zone): its prior follows its own level.
  const bool damper = key >= damperFL && key <= damperRR;
  const auto logSize = [&sizes, damper](std::size_t c, const OverLaps& o) {
    return damper ? portable::log(std::max(o.mean, 1.0)) : sizes[c];
  };
  const double reach = reachOf(*quantityNamed(phaseKeyNames[key]), scaleOf(track));
  TrackPrior out{phaseKeyNames[key], moderateNumber(track, of, never, phaseKeyGrain[key], reach, damper, logSize)};
  out.phase = phaseNames[phase];
  if (const std::size_t w = phaseKeyWheel(key); w < raf::wheelCount) out.wheel = wheelNames[w];
  return out;
}

// A group's complete laps' segment times, lap by lap; laps missing a
// segment are left out.
std::vector<std::vector<double>> segmentsByLap(const TrackAnalysis& track, std::size_t group) {
  std::vector<std::vector<double>> out;
  for (std::size_t l = 0; l < track.laps.size(); ++l) {
    if (track.laps[l].group != group || !track.laps[l].complete) continue;
    std::vector<double> row;
    for (const CornerResult& c : track.corners) {
      const double v = l < c.laps.size() ? c.laps[l].value[segmentTime] : std::numeric_limits<double>::quiet_NaN();
      if (!std::isfinite(v)) break;
      row.push_back(v);
    }
    if (row.size() == track.corners.size()) out.push_back(std::move(row));
  }
  return out;
}

double sampleVariance(const std::vector<double>& v) {
  double mean = 0.0;
  for (const double x : v) mean += x;
  mean /= static_cast<double>(v.size());
  double squares = 0.0;
  for (const double x : v) squares += (x - mean) * (x - mean);
  return squares / static_cast<double>(v.size() - 1);
}

// The share of the segments' spread that moves them together, pooled over
// the groups: the lap's variance less the segments' own, over what it would
// be were they fully correlated; 0 to 1, moderated toward sharedPrior. `df`
// is what it rests on: each group's laps less one (one lap-to-lap draw of
// the whole lap each), and the prior's.
double sharedShare(const TrackAnalysis& track, double& df) {
  double excess = 0.0, possible = 0.0;
  df = 0.0;
  for (std::size_t g = 0; g < track.groups.size(); ++g) {
    const std::vector<std::vector<double>> laps = segmentsByLap(track, g);
    if (laps.size() < 2) continue;
    const auto groupDf = static_cast<double>(laps.size() - 1);
    df += groupDf;
    std::vector<double> lapTimes, column;
    for (const auto& row : laps) {
      double sum = 0.0;
      for (const double x : row) sum += x;
      lapTimes.push_back(sum);
    }
    double own = 0.0, spreads = 0.0;
    for (std::size_t k = 0; k < track.corners.size(); ++k) {
      column.clear();
      for (const auto& row : laps) column.push_back(row[k]);
      const double v = sampleVariance(column);
      own += v;
      spreads += std::sqrt(v);
    }
    excess += groupDf * (sampleVariance(lapTimes) - own);
    possible += groupDf * (spreads * spreads - own);
  }
  const double own = possible > 0.0 ? std::clamp(excess / possible, 0.0, 1.0) : 0.0;
  // A session's few laps are few draws of the whole lap's part: the share is
  // moderated toward what a driver's session shows, as a prior worth
  // sharedPriorLaps laps.
  const double share = (sharedPriorLaps * sharedPrior + df * own) / (sharedPriorLaps + df);
  df += sharedPriorLaps;
  return share;
}

// The lap time's spread, moderated toward the sum of its segments' priors
// with their shared part: a lap's time is the sum of its segments.
TrackPrior moderateLapTime(TrackAnalysis& track, const Prior& segments, const std::vector<double>& sizes) {
  TrackPrior out{"lap_time_s", {}};
  if (!segments.known()) return out;
  double own = 0.0, spreads = 0.0;
  for (const double size : sizes) {
    const double v = segments.varianceAt(size);
    own += v;
    spreads += std::sqrt(v);
  }
  double sharedDf = 0.0;
  out.shared = sharedShare(track, sharedDf);
  const double together = out.shared * (spreads * spreads - own);
  const double prior2 = own + together;
  // The segments' own part rests on the segment prior's degrees of freedom,
  // the part they share on the laps' alone (Welch and Satterthwaite): a
  // session's few laps say little of how much a whole lap moves together.
  const double parts = own * own / segments.df + (sharedDf > 0.0 ? together * together / sharedDf : 0.0);
  out.prior.df = std::min(segments.df, prior2 * prior2 / parts);
  out.prior.logScale2 = portable::log(prior2);
  out.prior.features = segments.features;
  for (TrackGroup& g : track.groups) {
    if (g.lapTime.laps < 2) continue;
    const Spread s{flooredVariance(g.lapTime.spread, 0.001), g.lapTime.df, 0.0};
    const Moderated m = moderate(s, out.prior);
    takeModerated(g.lapTime, m.variance, m.df);
    if (g.deltaAtLine.laps == g.lapTime.laps) takeModerated(g.deltaAtLine, m.variance, m.df);
  }
  return out;
}

// Each group's interval of a corner number kept within what the number can
// be: the peak brake pedal's below fully pressed.
void keepWithinRanges(TrackAnalysis& track) {
  for (CornerResult& c : track.corners) {
    for (CornerGroup& g : c.groups) {
      for (std::size_t key = 0; key < cornerKeyCount; ++key) {
        keepWithinRange(*quantityNamed(cornerKeyNames[key]), g.value[key].ci.low, g.value[key].ci.high);
      }
      for (auto& phase : g.phase) {
        for (std::size_t key = 0; key < phaseKeyCount; ++key) {
          keepWithinRange(*quantityNamed(phaseKeyNames[key]), phase[key].ci.low, phase[key].ci.high);
        }
      }
    }
  }
}

// Each group's band of its time delta along the lap, moderated as its lap
// time is: at a point a share f of the way round, the spread of the laps'
// deltas there is moderated toward the lap time's prior taken over that
// share (variance f s0^2, as a sum of the segments so far), with the
// prior's degrees of freedom added to the laps'. Two laps that differ by a
// tenth then show a band of tenths, not a t(1) band of a second.
void moderateDeltaBands(TrackAnalysis& track) {
  const auto lap = std::find_if(track.priors.begin(), track.priors.end(),
                                [](const TrackPrior& p) { return p.quantity == "lap_time_s"; });
  const double length = track.path.length();
  if (lap == track.priors.end() || !lap->prior.known() || !(length > 0.0)) return;
  std::vector<double> at;
  for (TrackGroup& g : track.groups) {
    for (std::size_t k = 0; k < g.deltaLow.size() && k < track.traceAt.size(); ++k) {
      at.clear();
      for (const LapResult& r : track.laps) {
        if (r.group == g.group && r.complete) at.push_back(r.delta[k]);
      }
      OverLaps o = overLaps(at);
      if (!o.hasInterval() || !std::isfinite(o.spread)) continue;
      Prior share = lap->prior;
      share.logScale2 += portable::log(std::clamp(track.traceAt[k] / length, 1e-6, 1.0));
      const Moderated m = moderate({o.spread * o.spread, o.df, 0.0}, share);
      takeModerated(o, m.variance, m.df);
      g.deltaLow[k] = o.ci.low;
      g.deltaHigh[k] = o.ci.high;
    }
  }
}

}  // namespace

Moderated borrowedSpread(const TrackAnalysis& track, std::size_t key, std::size_t corner) {
  for (const TrackPrior& p : track.priors) {
    if (p.quantity != cornerKeyNames[key] || !p.phase.empty() || !p.prior.known()) continue;
    const CornerResult& c = track.corners[corner];
    const double size = !timed(key) ? 0.0 : logMeanTime(c, key == cornerTime ? cornerTime : segmentTime);
    return {flooredVariance(std::sqrt(p.prior.varianceAt(size)), cornerKeyGrain[key]), p.prior.df};
  }
  return {};
}

Moderated borrowedLapSpread(const TrackAnalysis& track) {
  for (const TrackPrior& p : track.priors) {
    if (p.quantity == "lap_time_s" && p.prior.known()) return {p.prior.varianceAt(0.0), p.prior.df};
  }
  return {};
}

void moderateSpreads(TrackAnalysis& track) {
  track.priors.clear();
  const CornerSizes sizes{logMeanTimes(track, cornerTime), logMeanTimes(track, segmentTime),
                          std::vector<double>(track.corners.size(), 0.0)};
  Prior segments;
  for (std::size_t key = 0; key < cornerKeyCount; ++key) {
    track.priors.push_back(moderateKey(track, key, sizes.of(key)));
    if (key == segmentTime) segments = track.priors.back().prior;
  }
  track.priors.push_back(moderateLapTime(track, segments, sizes.segment));
  for (std::size_t phase = 0; phase < phaseCount; ++phase) {
    for (std::size_t key = 0; key < phaseKeyCount; ++key) track.priors.push_back(moderatePhaseKey(track, phase, key, sizes.none));
  }
  keepWithinRanges(track);
  moderateDeltaBands(track);
}

}  // namespace skidlog
