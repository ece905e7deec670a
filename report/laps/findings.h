// What the faster lap does differently, in the driver's words: for each
// comparison (each later group against the first; with one group, each lap
// against the reference lap), the corners ordered by the size of the time
// difference in their segments, each with its interval, and the actions that
// differ beyond their own intervals, as numbers (report/output/words/ says
// them: "T7: club loses 1.30 s (0.90 to 1.70 s); brakes 12 m earlier (5 to
// 19 m)"). Only what the data show: a corner whose loss is within its
// interval says so.
#ifndef SKIDLOG_REPORT_LAPS_FINDINGS_H_
#define SKIDLOG_REPORT_LAPS_FINDINGS_H_

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "report/analysis/compare/differences.h"
#include "report/laps/why/corner_why.h"
#include "report/laps/lap_analysis.h"

namespace skidlog {

// How many laps of each side lift off the throttle through a corner, of
// those that reach it with the lift known.
struct Lifts {
  std::size_t from = 0, fromKnown = 0;
  std::size_t to = 0, toKnown = 0;
};

struct CornerFinding {
  std::string corner;              // T1, ... (with several tracks, the track's name first)
  Difference timeLost;             // the segment's time, `to` less `from`
  std::vector<Difference> actions;  // those that differ beyond their intervals (or, one lap each, the larger ones)
  Lifts lifts;
  std::string who;                  // the later side, as its sentence names it
  std::string against;              // the earlier side, as the sentence names it
  std::size_t fromLaps = 0;         // each side's laps through the corner
  std::size_t toLaps = 0;
  bool leftHand = true;             // the corner turns left: steering counts toward it
  std::optional<CornerWhy> why{};   // where its time difference is claimed between two groups
};

struct Finding {
  std::string from;  // a group's label, or with one group the reference lap's file
  std::string to;
  std::vector<CornerFinding> corners;  // the largest time differences first, gained or lost
};

// The findings of every comparison that has a corner to speak of. `differences` are the report's (its
// corner differences among them); with one group, each lap is compared with
// the reference lap of its track here. `labels` are the groups'.
std::vector<Finding> findTimeLoss(const std::vector<TrackAnalysis>& tracks, const std::vector<Difference>& differences,
                                  const std::vector<std::string>& labels);

}  // namespace skidlog

#endif  // SKIDLOG_REPORT_LAPS_FINDINGS_H_
