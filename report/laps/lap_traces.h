// A lap's results along the reference path: its lap and split times, its
// deltas against the reference, and its time delta, speed, grip use and the
// driver's inputs on the track's trace points.
#ifndef SKIDLOG_REPORT_LAPS_LAP_TRACES_H_
#define SKIDLOG_REPORT_LAPS_LAP_TRACES_H_

#include <vector>

#include "report/laps/grip/grip_channels.h"
#include "report/laps/lap_analysis.h"
#include "report/laps/place/lap_inputs.h"

namespace skidlog {

// The trace points of a path of `length` m: every traceSpacing m (wider on a
// long track), and the line.
std::vector<double> tracePoints(double length);

// `out` for the lap `in`, placed as `placed`, against the reference lap
// (`referenceInput`, placed as `reference`) on `track`'s trace points.
void fillLapResult(LapResult& out, const LapInput& in, const PlacedLap& placed, const PlacedLap& reference,
                   const LapInput& referenceInput, const TrackAnalysis& track, const GroupChannels& channels);

}  // namespace skidlog

#endif  // SKIDLOG_REPORT_LAPS_LAP_TRACES_H_
