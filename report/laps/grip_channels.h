// What the laps read of a group's tyres at every sample: the car's balance
// and each axle's use of its grip, from the group's axle points and fits.
#ifndef SKIDLOG_REPORT_LAPS_GRIP_CHANNELS_H_
#define SKIDLOG_REPORT_LAPS_GRIP_CHANNELS_H_

#include <array>
#include <vector>

#include "report/analysis/report_group.h"

namespace skidlog {

// Per sample of a group (its numbering): the understeer angle (the handling
// diagram's front axle's mean slip angle less the rear's, toward the corner:
// positive understeers) and each axle's lateral grip over its fitted peak at that load,
// and over the largest grip within its data.
struct GroupChannels {
  std::vector<double> understeer;  // degrees
  std::array<std::vector<double>, axleCount> use;
  std::array<std::vector<double>, axleCount> useOfLargest;
};

// The channels of every sample of `group`; NaN where a sample has no point in
// the handling diagram or no axle point (or, for the use, where the axle's
// peak is not reached). REQUIRES: the group is analysed, its balance too.
GroupChannels channelsOf(const ReportGroup& group);

}  // namespace skidlog

#endif  // SKIDLOG_REPORT_LAPS_GRIP_CHANNELS_H_
