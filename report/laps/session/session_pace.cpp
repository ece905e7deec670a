// Each group's valid laps, pace, consistency, gap to the fastest and range
// of ranks.
#include "report/laps/session/session_pace.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <numeric>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "numeric/elementary.h"
#include "report/inference/chi_square.h"
#include "report/inference/draws.h"
#include "report/inference/moderated_variance.h"
#include "report/inference/student_t.h"
#include "report/laps/corners/corner_priors.h"
#include "report/laps/lap_analysis.h"

namespace skidlog {
namespace {

// Why a lap is left out of its group's pace; none for a valid lap.
std::optional<LeftOut> leftOut(const TrackAnalysis& track, const LapResult& lap, double fastest) {
  if (!lap.complete) {
    const double short_ = track.path.length() - lap.reach;
    if (short_ > 1.0) return LeftOut{lap.file, LeftOut::Why::incomplete, short_};
    return LeftOut{lap.file, LeftOut::Why::samplesMissing, 0.0};
  }
  if (lap.lapTime > slowLapShare * fastest) return LeftOut{lap.file, LeftOut::Why::slow, lap.lapTime - fastest};
  return std::nullopt;
}

// The group's replays that give no lap at all.
void lapless(const ReportGroup& group, SessionGroup& out) {
  for (const ReplaySummary& r : group.replays) {
    if (!r.lap.recorded()) out.leftOut.push_back({r.file, LeftOut::Why::noLap, 0.0});
  }
}

// Its valid laps and those left out, with their reasons.
void sortLaps(const TrackAnalysis& track, SessionGroup& g) {
  double fastest = std::numeric_limits<double>::infinity();
  for (const LapResult& l : track.laps) {
    if (l.group == g.group && l.complete) fastest = std::min(fastest, l.lapTime);
  }
  for (std::size_t i = 0; i < track.laps.size(); ++i) {
    const LapResult& l = track.laps[i];
    if (l.group != g.group) continue;
    if (std::optional<LeftOut> out = leftOut(track, l, fastest)) {
      g.leftOut.push_back(std::move(*out));
    } else {
      g.validLaps.push_back(i);
    }
  }
}

std::vector<double> validTimes(const TrackAnalysis& track, const SessionGroup& g) {
  std::vector<double> out;
  for (const std::size_t i : g.validLaps) out.push_back(track.laps[i].lapTime);
  return out;
}

void setInterval(Pace& p) {
  if (!p.hasInterval()) {
    p.ci = {p.mean, p.mean};
    return;
  }
  const double half = studentT975(p.df) * p.spread / std::sqrt(static_cast<double>(p.laps));
  p.ci = {p.mean - half, p.mean + half};
}

// Each pace's spread moderated toward the field's: a prior fitted over the
// groups of two valid laps or more where three or more give one (an
// erratic driver keeps his own), else the track's lap-time prior from its
// segments; a group of one lap takes the prior's alone. Over twelve
// generated fields of eight drivers, drawing the spreads toward the
// field's both ways kept every true rank in its range and parted the ranges
// of drivers 2 % apart, where drawing them up only left 1 of 6 fields with
// ranges that overlap. Whether a one-lap driver's pace is left without an
// interval (no other driver's laps give a spread).
bool moderatePaces(const TrackAnalysis& track, std::vector<SessionGroup>& groups) {
  std::vector<Spread> spreads;
  std::vector<Pace*> targets;
  for (SessionGroup& g : groups) {
    const OverLaps o = overLaps(validTimes(track, g));
    g.pace.mean = o.mean;
    g.pace.laps = o.laps;
    if (o.laps < 2) continue;
    const double floor = resolutionSpread(0.001);
    spreads.push_back({std::max(o.spread * o.spread, floor * floor), o.df, 0.0});
    targets.push_back(&g.pace);
  }
  Prior prior = fitPrior(spreads, false);
  const bool field = prior.known();
  if (!field) {
    const Moderated lap = borrowedLapSpread(track);
    prior = Prior{};
    if (lap.df > 0.0) {
      prior.df = lap.df;
      prior.logScale2 = portable::log(lap.variance);
    }
    prior.erratic.assign(spreads.size(), false);
  }
  for (std::size_t i = 0; i < spreads.size(); ++i) {
    const bool erratic = prior.known() && prior.erratic[i];
    Moderated m = moderate(spreads[i], prior, erratic);
    if (field && !erratic) {
      // A driver's spread is drawn toward the field's both ways: the
      // field's drivers are alike in how they vary but for those the prior
      // finds erratic, who keep their own. (Toward the segments' prior, as
      // the lap times of a comparison are, a spread is never drawn down.)
      const double prior2 = prior.varianceAt(0.0);
      m.variance = (prior.df * prior2 + spreads[i].df * spreads[i].variance) / (prior.df + spreads[i].df);
    }
    targets[i]->spread = std::sqrt(m.variance);
    targets[i]->df = m.df;
  }
  for (SessionGroup& g : groups) {
    if (g.pace.laps == 1 && prior.known()) {
      g.pace.spread = prior.scale();
      g.pace.df = prior.df;
    }
    setInterval(g.pace);
  }
  return std::any_of(groups.begin(), groups.end(),
                     [&prior](const SessionGroup& g) { return g.pace.laps == 1 && !prior.known(); });
}

void consistency(const TrackAnalysis& track, SessionGroup& g) {
  const OverLaps o = overLaps(validTimes(track, g));
  if (o.laps < 2) return;
  g.consistency = o.spread;
  g.consistencyCi = spreadInterval(o.spread, o.df);
}

void best(const TrackAnalysis& track, SessionGroup& g) {
  for (const std::size_t i : g.validLaps) {
    if (std::isnan(g.bestLap) || track.laps[i].lapTime < g.bestLap) g.bestLap = track.laps[i].lapTime;
  }
  for (const TrackGroup& t : track.groups) {
    if (t.group == g.group) g.bestOfSegments = t.bestOfSegments;
  }
}

// The corners where its valid laps' segment times spread the most, at most
// variedCorners of them, the largest first.
constexpr std::size_t variedCorners = 3;
void variesMost(const TrackAnalysis& track, SessionGroup& g) {
  std::vector<bool> valid(track.laps.size(), false);
  for (const std::size_t l : g.validLaps) valid[l] = true;
  std::vector<std::pair<double, std::size_t>> spreads;
  for (std::size_t c = 0; c < track.corners.size(); ++c) {
    std::vector<double> times;
    for (const CornerLap& l : track.corners[c].laps) {
      if (l.lap < valid.size() && valid[l.lap]) times.push_back(l.value[segmentTime]);
    }
    const OverLaps o = overLaps(times);
    if (o.laps >= 2) spreads.emplace_back(o.spread, c);
  }
  std::stable_sort(spreads.begin(), spreads.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
  for (std::size_t i = 0; i < spreads.size() && i < variedCorners; ++i) {
    g.variesMost.push_back(spreads[i].second);
    g.variesBy.push_back(spreads[i].first);
  }
}

}  // namespace

Gap gapBetween(const Pace& from, const Pace& to) {
  Gap d;
  if (!from.known() || !to.known()) return d;
  d.delta = to.mean - from.mean;
  d.ci = {d.delta, d.delta};
  if (!from.hasInterval() || !to.hasInterval()) return d;
  const double v1 = from.spread * from.spread / static_cast<double>(from.laps);
  const double v2 = to.spread * to.spread / static_cast<double>(to.laps);
  d.standardError = std::sqrt(v1 + v2);
  const double denominator = v1 * v1 / from.df + v2 * v2 / to.df;
  d.df = denominator > 0.0 ? std::min((v1 + v2) * (v1 + v2) / denominator, from.df + to.df) : from.df + to.df;
  const double half = studentT975(d.df) * d.standardError;
  d.ci = {d.delta - half, d.delta + half};
  return d;
}

std::vector<SessionGroup> sessionGroups(const TrackAnalysis& track, std::span<const ReportGroup> groups,
                                        bool& paceWithoutInterval) {
  std::vector<SessionGroup> out(groups.size());
  for (std::size_t g = 0; g < groups.size(); ++g) {
    out[g].group = g;
    sortLaps(track, out[g]);
    lapless(groups[g], out[g]);
    consistency(track, out[g]);
    best(track, out[g]);
    variesMost(track, out[g]);
  }
  paceWithoutInterval = moderatePaces(track, out);
  return out;
}

std::size_t rankGroups(std::vector<SessionGroup>& groups) {
  std::vector<std::size_t> order;
  for (std::size_t g = 0; g < groups.size(); ++g) {
    if (groups[g].pace.known()) order.push_back(g);
  }
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t a, std::size_t b) { return groups[a].pace.mean < groups[b].pace.mean; });
  for (std::size_t r = 0; r < order.size(); ++r) groups[order[r]].rank = r + 1;
  if (order.empty()) return 0;
  const std::size_t fastest = order.front();
  for (const std::size_t g : order) groups[g].gap = gapBetween(groups[fastest].pace, groups[g].pace);
  // The fastest is no distance from itself.
  groups[fastest].gap = Gap{};
  groups[fastest].gap.delta = 0.0;
  groups[fastest].gap.ci = {0.0, 0.0};
  return fastest;
}

bool rankRanges(std::vector<SessionGroup>& groups, std::uint64_t seed) {
  std::vector<std::size_t> ranked;
  for (std::size_t g = 0; g < groups.size(); ++g) {
    if (groups[g].pace.known()) ranked.push_back(g);
  }
  for (const std::size_t g : ranked) {
    if (!groups[g].pace.hasInterval() && ranked.size() > 1) return false;
  }
  const std::size_t n = ranked.size();
  // Each draw a pace for every group from its estimate and uncertainty
  // (Student's t on its degrees of freedom), then every group's rank in it.
  std::vector<std::vector<std::uint32_t>> ranks(n, std::vector<std::uint32_t>(rankDraws));
  std::vector<double> draw(n);
  std::vector<std::size_t> order(n);
  Random random(seed);
  for (std::size_t d = 0; d < rankDraws; ++d) {
    for (std::size_t i = 0; i < n; ++i) {
      const Pace& p = groups[ranked[i]].pace;
      draw[i] = n == 1 ? p.mean : p.mean + studentDraw(random, p.df) * p.spread / std::sqrt(static_cast<double>(p.laps));
    }
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
      return draw[a] < draw[b] || (draw[a] == draw[b] && a < b);
    });
    for (std::size_t r = 0; r < n; ++r) ranks[order[r]][d] = static_cast<std::uint32_t>(r + 1);
  }
  // The central 95 % of each group's ranks.
  const std::size_t low = rankDraws * 25 / 1000, high = rankDraws - 1 - low;
  for (std::size_t i = 0; i < n; ++i) {
    std::vector<std::uint32_t>& r = ranks[i];
    std::nth_element(r.begin(), r.begin() + static_cast<std::ptrdiff_t>(low), r.end());
    groups[ranked[i]].rankLow = r[low];
    std::nth_element(r.begin(), r.begin() + static_cast<std::ptrdiff_t>(high), r.end());
    groups[ranked[i]].rankHigh = r[high];
    // The range holds the rank the estimates give.
    groups[ranked[i]].rankLow = std::min(groups[ranked[i]].rankLow, groups[ranked[i]].rank);
    groups[ranked[i]].rankHigh = std::max(groups[ranked[i]].rankHigh, groups[ranked[i]].rank);
  }
  return true;
}

}  // namespace skidlog
