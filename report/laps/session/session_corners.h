// A session's corners: each group's corner time against the fastest
// group's, and what the faster third of the field does differently.
#ifndef SKIDLOG_REPORT_LAPS_SESSION_SESSION_CORNERS_H_
#define SKIDLOG_REPORT_LAPS_SESSION_SESSION_CORNERS_H_

#include <cstddef>
#include <vector>

#include "report/laps/session/session.h"

namespace skidlog {

// Per corner and group, its mean corner time less the fastest group's
// there, each spread as the lap analysis moderated it (a group of one lap
// borrows the track's prior at the corner); a group's cells are one family
// at the report's false discovery rate. The fastest group's own cells show
// no difference.
std::vector<SessionCell> sessionCells(const TrackAnalysis& track, const std::vector<SessionGroup>& groups,
                                      std::size_t fastest);

// The faster third of the ranked groups (at least two, and only with six
// ranked groups or more), fastest first.
std::vector<std::size_t> fasterThird(const std::vector<SessionGroup>& groups);

// Per corner, the faster groups' mean of each of the corner's time,
// braking place, lowest speed and its place, and throttle places, against
// the other groups': each group's mean over its laps one value, Welch's
// interval over the groups; all of them one family.
std::vector<FastGain> fastGains(const TrackAnalysis& track, const std::vector<SessionGroup>& groups,
                                const std::vector<std::size_t>& fast);

}  // namespace skidlog

#endif  // SKIDLOG_REPORT_LAPS_SESSION_SESSION_CORNERS_H_
