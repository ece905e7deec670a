// A track's laps in words: what its numbers cannot give.
#ifndef SKIDLOG_REPORT_OUTPUT_WORDS_TRACK_WORDS_H_
#define SKIDLOG_REPORT_OUTPUT_WORDS_TRACK_WORDS_H_

#include <span>
#include <string>
#include <vector>

#include "report/analysis/report_group.h"
#include "report/laps/lap_analysis.h"

namespace skidlog {

// What the track's numbers cannot give, each kind once, naming the groups it
// concerns: an axle's peak not reached, pedals or gears out of range, no best
// of segments, one lap, dampers recorded too coarsely.
std::vector<std::string> trackNotes(std::span<const ReportGroup> groups, const TrackAnalysis& track);

// Why a replay is left out of its driver's pace: "slow: 4.210 s over the
// driver's fastest lap, beyond 107 % of it".
std::string leftOutText(const LeftOut& leftOut);

// What the session cannot give, in sentences: a one-lap driver's pace
// interval, the ranks' ranges, where the faster third gains.
std::vector<std::string> sessionNotes(const Session& session);

}  // namespace skidlog

#endif  // SKIDLOG_REPORT_OUTPUT_WORDS_TRACK_WORDS_H_
