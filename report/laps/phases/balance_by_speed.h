// The car's balance by class of corner, as engineers read it: slow corners
// against fast, each phase's understeer over a group's laps.
#ifndef SKIDLOG_REPORT_LAPS_PHASES_BALANCE_BY_SPEED_H_
#define SKIDLOG_REPORT_LAPS_PHASES_BALANCE_BY_SPEED_H_

#include <array>
#include <cstddef>
#include <limits>
#include <vector>

#include "report/analysis/compare/over_laps.h"
#include "report/laps/phases/corner_phases.h"

namespace skidlog {

struct TrackAnalysis;

enum SpeedClass : std::size_t { slowCorners, fastCorners, speedClassCount };
inline constexpr const char* speedClassNames[speedClassCount] = {"slow", "fast"};

// A track's corners by speed: slow where the reference lap's lowest speed
// through the corner is below the median of the track's corners' (the
// boundary), fast at it or above. A corner the reference lap gives no speed
// for is in neither.
struct SpeedClasses {
  double boundary = std::numeric_limits<double>::quiet_NaN();  // m/s
  std::array<std::vector<std::size_t>, speedClassCount> corners;  // into the track's corners
};

// Each class's understeer by phase over a group's laps: per lap the mean of
// the phase's understeer over the class's corners it gives, then over the
// laps (the lap is the unit: a lap's corners share its driver and tyres).
using ClassBalance = std::array<std::array<OverLaps, phaseCount>, speedClassCount>;

SpeedClasses classifyCorners(const TrackAnalysis& track);

ClassBalance balanceBySpeed(const TrackAnalysis& track, const SpeedClasses& classes, std::size_t group);

}  // namespace skidlog

#endif  // SKIDLOG_REPORT_LAPS_PHASES_BALANCE_BY_SPEED_H_
