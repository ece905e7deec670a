// What the laps read of a group's tyres at every sample: the car's balance
// and each axle's use of its grip, from the group's axle points, the car's
// grip envelope and the group's fits.
#ifndef SKIDLOG_REPORT_LAPS_GRIP_GRIP_CHANNELS_H_
#define SKIDLOG_REPORT_LAPS_GRIP_GRIP_CHANNELS_H_

#include <array>
#include <span>
#include <vector>

#include "report/analysis/report_group.h"
#include "report/laps/grip/grip_envelope.h"

namespace skidlog {

// Per sample of a group (its numbering): the understeer angle (the handling
// diagram's front axle's mean slip angle less the rear's, toward the corner:
// positive understeers); each axle's use of its grip, its combined grip over
// the car's envelope at that load; and its lateral grip over its fitted peak
// at that load, where the peak is reached.
struct GroupChannels {
  std::vector<double> understeer;  // degrees
  std::array<std::vector<double>, axleCount> use;
  std::array<std::vector<double>, axleCount> useOfPeak;
};

// The combined grip of each of a group's axle points (combinedGrip), front
// and rear, each a running mean over gripSmoothingSeconds of its laps.
using AxleGrips = std::array<std::vector<double>, axleCount>;
AxleGrips axleGrips(const ReportGroup& group);

// The channels of every sample of `group`, whose axleGrips are `grips`; NaN
// where a sample has no point in the handling diagram or no axle point (or,
// for the use of the peak, where the axle's peak is not reached).
// `envelopes` are the car's, front and rear. REQUIRES: the group is
// analysed, its balance too.
GroupChannels channelsOf(const ReportGroup& group, const AxleGrips& grips,
                         const std::array<GripEnvelope, axleCount>& envelopes);

// Every group's channels, each car's grip envelopes made once over every
// group of that car (so groups of one car are measured against one envelope).
std::vector<GroupChannels> groupChannels(std::span<const ReportGroup> groups);

}  // namespace skidlog

#endif  // SKIDLOG_REPORT_LAPS_GRIP_GRIP_CHANNELS_H_
