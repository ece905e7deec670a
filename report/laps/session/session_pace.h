// A session's groups: their valid laps, pace, consistency, gap to the
// fastest and range of ranks.
#ifndef SKIDLOG_REPORT_LAPS_SESSION_SESSION_PACE_H_
#define SKIDLOG_REPORT_LAPS_SESSION_SESSION_PACE_H_

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "report/laps/session/session.h"

namespace skidlog {

// Each group's valid laps (complete, and within slowLapShare of its
// fastest) and those left out with their reasons, its best lap and best of
// segments, its consistency over its valid laps with a chi-square interval,
// and its pace: the mean of its valid laps, its spread moderated toward the
// field's; `paceWithoutInterval` says where a one-lap driver's pace has no
// interval.
std::vector<SessionGroup> sessionGroups(const TrackAnalysis& track, std::span<const ReportGroup> groups,
                                        bool& paceWithoutInterval);

// Ranks the groups with a pace by it, from 1, and gives each its gap to the
// fastest; returns the fastest group.
std::size_t rankGroups(std::vector<SessionGroup>& groups);

// Each ranked group's 95 % range of ranks: the central 95 % of its rank over
// rankDraws draws of every group's pace from its estimate and uncertainty
// (Marshall and Spiegelhalter), widened to hold its rank. False, with no
// ranges, where a ranked group's pace has no interval.
bool rankRanges(std::vector<SessionGroup>& groups, std::uint64_t seed);

}  // namespace skidlog

#endif  // SKIDLOG_REPORT_LAPS_SESSION_SESSION_PACE_H_
