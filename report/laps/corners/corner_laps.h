// Each corner of a track lap by lap: its times, speeds, balance by phase, grip
// use, the driver's actions and its segment of the lap; and each corner
// number per group over its laps. A sweeper the reference takes flat right
// after a corner is not a corner of its own: its segment is that corner's
// exit, so that time lost on the way out is named at the corner.
#ifndef SKIDLOG_REPORT_LAPS_CORNERS_CORNER_LAPS_H_
#define SKIDLOG_REPORT_LAPS_CORNERS_CORNER_LAPS_H_

#include <cstddef>
#include <span>
#include <vector>

#include "report/analysis/report_group.h"
#include "report/laps/grip/grip_channels.h"
#include "report/laps/lap_analysis.h"
#include "report/laps/place/lap_inputs.h"

namespace skidlog {

// A corner that starts within this far of the one before it and that the
// reference lap takes flat (no brake, no lift) is that corner's exit, m.
inline constexpr double sweeperGap = 50.0;

// The corners found on `path`, less the flat sweepers on their exits (whose
// segments their corners' take in; the rest keep their names), each with
// every lap of `laps` through it (placed along the path as `placed`) against
// the reference lap, and each group's numbers over its laps. `channels` are
// the groups'.
std::vector<CornerResult> analyseCorners(std::span<const ReportGroup> groups, const std::vector<LapInput>& laps,
                                         const std::vector<PlacedLap>& placed, std::size_t reference,
                                         const LapPath& path, const std::vector<GroupChannels>& channels);

}  // namespace skidlog

#endif  // SKIDLOG_REPORT_LAPS_CORNERS_CORNER_LAPS_H_
