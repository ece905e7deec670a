// A track's summary per group: its laps' times and delta band over its
// complete laps, its best lap from its fastest segments, and what the track's
// numbers cannot give.
#ifndef SKIDLOG_REPORT_LAPS_TRACK_SUMMARY_H_
#define SKIDLOG_REPORT_LAPS_TRACK_SUMMARY_H_

#include <cstddef>
#include <span>
#include <string>
#include <vector>

#include "report/analysis/report_group.h"
#include "report/laps/lap_analysis.h"
#include "report/laps/place/lap_inputs.h"

namespace skidlog {

// Group g's laps of the track: lap time and delta at the line over its
// complete laps, its best lap, its delta band, and the sample intervals of
// its laps.
TrackGroup trackGroup(std::size_t g, const std::vector<LapResult>& results, const std::vector<LapInput>& inputs);

// The group's best lap: the sum of each segment's fastest time over its
// complete laps that give every segment (all of them, unless a lap was lost
// from the path); NaN where none does. REQUIRES: the track's corners are found.
void bestOfSegments(TrackGroup& g, const TrackAnalysis& track);

}  // namespace skidlog

#endif  // SKIDLOG_REPORT_LAPS_TRACK_SUMMARY_H_
