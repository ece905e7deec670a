#include "report/laps/session/session_corners.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "report/laps/corners/corner_priors.h"
#include "report/laps/lap_analysis.h"
#include "report/laps/lap_claims.h"

namespace skidlog {
namespace {

// A group's time through corner `c`'s segment (the segments add up to the
// lap), its spread as moderated; a group of one lap borrows the track's
// prior there.
Pace cornerPace(const TrackAnalysis& track, std::size_t c, std::size_t g) {
  const OverLaps& o = track.corners[c].groups[g].value[segmentTime];
  Pace p;
  p.mean = o.mean;
  p.laps = o.laps;
  if (o.laps >= 2 && std::isfinite(o.spread)) {
    p.spread = o.spread;
    p.df = o.df;
  } else if (o.laps == 1) {
    const Moderated m = borrowedSpread(track, segmentTime, c);
    if (m.df > 0.0) {
      p.spread = std::sqrt(m.variance);
      p.df = m.df;
    }
  }
  return p;
}

// A difference from a gap, its 95 % interval until its family decides.
Difference fromGap(const Gap& gap, std::size_t from, std::size_t to, std::size_t key) {
  Difference d;
  d.from = from;
  d.to = to;
  d.quantity = cornerKeyNames[key];
  d.delta.value = gap.delta;
  d.delta.ci = gap.ci;
  d.hasInterval = gap.hasInterval();
  d.standardError = gap.standardError;
  d.df = gap.df;
  d.resolution = claimableFrom(d.quantity, cornerKeyGrain[key]);
  d.verdict = d.hasInterval ? noDifferenceShown : "no interval";
  return d;
}

// The numbers a faster driver's corner is read by.
constexpr std::array<std::size_t, 6> gainKeys = {segmentTime, brakeAt, cornerMinSpeed, minSpeedAt, throttleOnAt,
                                                 fullThrottleAt};

// The groups' means of `key` at corner `c`, over those that give one.
Pace overGroups(const TrackAnalysis& track, std::size_t c, std::size_t key, const std::vector<std::size_t>& which) {
  std::vector<double> means;
  for (const std::size_t g : which) {
    const double v = track.corners[c].groups[g].value[key].mean;
    if (std::isfinite(v)) means.push_back(v);
  }
  const OverLaps o = overLaps(means);
  Pace p;
  p.mean = o.mean;
  p.laps = o.laps;
  if (o.laps >= 2) {
    // Groups that agree to the number's resolution have shown no spread, not none.
    p.spread = std::max(o.spread, resolutionSpread(cornerKeyGrain[key]));
    p.df = o.df;
  }
  return p;
}

}  // namespace

std::vector<SessionCell> sessionCells(const TrackAnalysis& track, const std::vector<SessionGroup>& groups,
                                      std::size_t fastest) {
  std::vector<SessionCell> cells;
  for (const SessionGroup& g : groups) {
    if (!g.pace.known()) continue;
    const std::size_t first = cells.size();
    for (std::size_t c = 0; c < track.corners.size(); ++c) {
      if (g.group == fastest) {
        const double mean = track.corners[c].groups[g.group].value[segmentTime].mean;
        Gap none;
        none.delta = std::isfinite(mean) ? 0.0 : mean;
        none.ci = {none.delta, none.delta};
        Difference d = fromGap(none, fastest, g.group, segmentTime);
        d.verdict = noDifferenceShown;
        cells.push_back({c, d});
        continue;
      }
      const Gap gap = gapBetween(cornerPace(track, c, fastest), cornerPace(track, c, g.group));
      cells.push_back({c, fromGap(gap, fastest, g.group, segmentTime)});
    }
    if (g.group == fastest) continue;
    std::vector<Difference*> family;
    for (std::size_t i = first; i < cells.size(); ++i) family.push_back(&cells[i].time);
    claimFamily(family, fastest, g.group);
  }
  return cells;
}

std::vector<std::size_t> fasterThird(const std::vector<SessionGroup>& groups) {
  std::vector<std::size_t> ranked;
  for (std::size_t g = 0; g < groups.size(); ++g) {
    if (groups[g].rank > 0) ranked.push_back(g);
  }
  if (ranked.size() < 6) return {};
  std::sort(ranked.begin(), ranked.end(), [&](std::size_t a, std::size_t b) { return groups[a].rank < groups[b].rank; });
  ranked.resize((ranked.size() + 1) / 3);
  return ranked;
}

std::vector<FastGain> fastGains(const TrackAnalysis& track, const std::vector<SessionGroup>& groups,
                                const std::vector<std::size_t>& fast) {
  if (fast.empty()) return {};
  std::vector<std::size_t> rest;
  for (std::size_t g = 0; g < groups.size(); ++g) {
    if (groups[g].rank > 0 && std::find(fast.begin(), fast.end(), g) == fast.end()) rest.push_back(g);
  }
  std::vector<FastGain> out;
  for (std::size_t c = 0; c < track.corners.size(); ++c) {
    for (const std::size_t key : gainKeys) {
      const Pace faster = overGroups(track, c, key, fast), others = overGroups(track, c, key, rest);
      if (!faster.hasInterval() || !others.hasInterval()) continue;
      Difference d = fromGap(gapBetween(others, faster), 0, 0, key);
      d.where = track.corners[c].corner.name;
      out.push_back({c, key, d, {}});
    }
  }
  std::vector<Difference*> family;
  for (FastGain& f : out) family.push_back(&f.delta);
  claimFamily(family, 0, 0);
  for (FastGain& f : out) f.leftHand = track.corners[f.corner].corner.left;
  return out;
}

}  // namespace skidlog
