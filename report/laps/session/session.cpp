#include "report/laps/session/session.h"

#include <optional>
#include <utility>

#include "report/fit/random.h"
#include "report/laps/lap_analysis.h"
#include "report/laps/session/session_corners.h"
#include "report/laps/session/session_pace.h"

namespace skidlog {

Session analyseSession(const TrackAnalysis& track, std::span<const ReportGroup> groups) {
  Session s;
  s.groups = sessionGroups(track, groups, s.paceWithoutInterval);
  s.fastest = rankGroups(s.groups);
  std::size_t ranked = 0;
  for (const SessionGroup& g : s.groups) ranked += g.rank > 0 ? 1 : 0;
  s.ranked = ranked > 0;
  if (!s.ranked) return s;
  // Its own stream: the ranges do not move when the fits' draws change.
  s.noRankRanges = !rankRanges(s.groups, reportSeed ^ 0x5E5510Aull);
  s.cells = sessionCells(track, s.groups, s.fastest);
  s.fastGroups = fasterThird(s.groups);
  s.fastGain = fastGains(track, s.groups, s.fastGroups);
  s.tooFewForFasterThird = s.fastGroups.empty() && ranked > 2;
  return s;
}

namespace {

const Difference* comparisonOf(const std::vector<Difference>& differences, std::size_t to, const std::string& where,
                               const char* quantity) {
  for (const Difference& d : differences) {
    if (d.from == 0 && d.to == to && d.where == where && d.quantity == quantity && d.phase.empty()) return &d;
  }
  return nullptr;
}

// `d` read the other way: `from` less `to`.
Difference mirrored(Difference d) {
  std::swap(d.from, d.to);
  std::swap(d.fromValue, d.toValue);
  d.delta.value = -d.delta.value;
  d.delta.ci = {-d.delta.ci.high, -d.delta.ci.low};
  if (d.verdict == higher) {
    d.verdict = lower;
  } else if (d.verdict == lower) {
    d.verdict = higher;
  }
  return d;
}

// The comparison's difference of group `g` less the fastest, where it holds one.
std::optional<Difference> answered(const std::vector<Difference>& differences, std::size_t fastest, std::size_t g,
                                   const std::string& where, const char* quantity) {
  if (fastest == 0) {
    if (const Difference* d = comparisonOf(differences, g, where, quantity)) return *d;
  } else if (g == 0) {
    if (const Difference* d = comparisonOf(differences, fastest, where, quantity)) return mirrored(*d);
  }
  return std::nullopt;
}

}  // namespace

void takeComparison(Session& session, const TrackAnalysis& track, const std::vector<Difference>& differences,
                    const std::string& prefix) {
  for (SessionCell& cell : session.cells) {
    if (cell.time.to == session.fastest) continue;
    const std::string where = prefix + track.corners[cell.corner].corner.name;
    if (auto d = answered(differences, session.fastest, cell.time.to, where, "segment_time_s")) cell.time = *d;
  }
  for (SessionGroup& g : session.groups) {
    if (g.group == session.fastest || !g.pace.known()) continue;
    const auto d = answered(differences, session.fastest, g.group, prefix + "lap", "lap_time_s");
    if (!d) continue;
    g.gap.delta = d->delta.value;
    g.gap.standardError = d->standardError;
    g.gap.df = d->hasInterval ? d->df : 0.0;
    g.gap.ci = d->delta.ci;
  }
}

}  // namespace skidlog
