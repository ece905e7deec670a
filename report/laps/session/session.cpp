#include "report/laps/session/session.h"

#include "report/fit/random.h"
#include "report/laps/session/session_corners.h"
#include "report/laps/session/session_pace.h"

namespace skidlog {

Session analyseSession(const TrackAnalysis& track, std::span<const ReportGroup> groups, SpeedUnit unit) {
  Session s;
  s.groups = sessionGroups(track, groups, s.notes);
  s.fastest = rankGroups(s.groups);
  std::size_t ranked = 0;
  for (const SessionGroup& g : s.groups) ranked += g.rank > 0 ? 1 : 0;
  s.ranked = ranked > 0;
  if (!s.ranked) return s;
  // Its own stream: the ranges do not move when the fits' draws change.
  if (!rankRanges(s.groups, reportSeed ^ 0x5E5510Aull)) {
    s.notes.push_back("The ranks have no ranges: a driver's pace has no interval.");
  }
  s.cells = sessionCells(track, s.groups, s.fastest);
  s.fastGroups = fasterThird(s.groups);
  s.fastGain = fastGains(track, s.groups, s.fastGroups, unit);
  if (s.fastGroups.empty() && ranked > 2) {
    s.notes.push_back("Where the faster drivers gain needs six drivers with a valid lap or more.");
  }
  return s;
}

}  // namespace skidlog
