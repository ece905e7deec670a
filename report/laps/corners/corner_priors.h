// Each corner number's lap-to-lap spread moderated over the track's corners,
// and the lap time's from its segments: what lets two or three laps a group
// give intervals a driver can use.
#ifndef SKIDLOG_REPORT_LAPS_CORNERS_CORNER_PRIORS_H_
#define SKIDLOG_REPORT_LAPS_CORNERS_CORNER_PRIORS_H_

#include <cstddef>
#include <limits>
#include <string>

#include "report/inference/moderated_variance.h"

namespace skidlog {

struct TrackAnalysis;

// The prior a quantity's spreads were moderated toward, on one track.
struct TrackPrior {
  std::string quantity;  // a corner number's name, or lap_time_s
  Prior prior;
  // For the lap time: the share of its segments' spread that moves them
  // together (their mean correlation, 0 to 1); NaN for the rest.
  double shared = std::numeric_limits<double>::quiet_NaN();
  std::string phase{};  // of a phase's number: entry, middle or exit; else empty
  std::string wheel{};  // of a phase's number per wheel: FL ... RR; else empty
};

// Moderates, on every corner and for every group of two laps or more, each
// corner number's spread toward the prior fitted over the track's corners
// and groups (its time's against the corner's size), and the lap time's
// toward the sum its segments' priors give, with the share of their spread
// they move by together. Groups whose laps all sit at a limit keep theirs.
// Each group's time-delta band along the lap is moderated as its lap time.
// Fills `track.priors`. REQUIRES: the track's corners and groups analysed.
void moderateSpreads(TrackAnalysis& track);

// The spread a group of one lap borrows for corner number `key` at
// `corner`: the track's prior at the corner's size, with its degrees of
// freedom; unknown (df 0) where no prior was fitted. REQUIRES: the track's
// spreads moderated.
Moderated borrowedSpread(const TrackAnalysis& track, std::size_t key, std::size_t corner);

// The same for the lap time.
Moderated borrowedLapSpread(const TrackAnalysis& track);

}  // namespace skidlog

#endif  // SKIDLOG_REPORT_LAPS_CORNERS_CORNER_PRIORS_H_
