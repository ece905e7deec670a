// Each corner of a track lap by lap: its times, speeds, balance by phase, grip
// use, the driver's actions and its segment of the lap; and each corner
// number per group over its laps.
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

// The corners found on `path`, each with every lap of `laps` through it
// (placed along the path as `placed`) against the reference lap, and each
// group's numbers over its laps. `channels` are the groups'.
std::vector<CornerResult> analyseCorners(std::span<const ReportGroup> groups, const std::vector<LapInput>& laps,
                                         const std::vector<PlacedLap>& placed, std::size_t reference,
                                         const LapPath& path, const std::vector<GroupChannels>& channels);

}  // namespace skidlog

#endif  // SKIDLOG_REPORT_LAPS_CORNERS_CORNER_LAPS_H_
