// The car's platform: how far the body rolls and pitches per g, which share
// of the lateral load transfer the front axle takes, how much of its travel
// each wheel uses, and how fast its dampers move. The lap is the unit, as for
// the corners' numbers: a group's value is the mean over its laps with
// Student's t interval; a group of one lap takes its interval from the
// group's resamples of blocks, as the tyres' numbers do.
#ifndef SKIDLOG_REPORT_ANALYSIS_PLATFORM_PLATFORM_H_
#define SKIDLOG_REPORT_ANALYSIS_PLATFORM_PLATFORM_H_

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "report/analysis/compare/over_laps.h"
#include "report/analysis/platform/platform_samples.h"
#include "report/analysis/tyres/tyre_analysis.h"

namespace skidlog {

class Resamples;

// A number of the platform: its laps' own values, and the group's value with
// its 95 % interval. With one lap, estimate.replicates holds the resamples'
// values, so that two laps can be compared by them.
struct PlatformNumber {
  OverLaps laps;
  Estimate estimate;
};

struct Damper {
  // Shares of the samples in each bin of damperBin (adding to 1): the first
  // bin below -damperRange, the last at or above +damperRange.
  std::vector<double> share;
  std::array<PlatformNumber, damperQuadrantCount> quadrant;  // share of time in each
};

struct WheelPlatform {
  // The largest deflection over the group's laps as a share of the travel;
  // its interval from the group's resamples of laps and blocks.
  Estimate travelUsed;
  // Each lap's largest deflection as a share of the travel, over the laps:
  // what groups are compared by (a largest over more laps is larger by
  // having more laps, and its resamples cannot exceed it).
  PlatformNumber lapTravelUsed;
  PlatformNumber atTravelEnd;     // s per lap within travelEndShare of the travel's end
  std::optional<Damper> damper;   // none where no lap is recorded finely enough
};

// A straight line through the charts' bins: y = offset + slope x.
struct PlatformChartLine {
  std::vector<double> lateral;  // g, each bin's mean
  std::vector<double> value;    // each bin's mean
  double centre = 0.0;          // g, the mean lateral acceleration of all the samples, where the line's band is narrowest
  double offset = 0.0;
  double slope = 0.0;
  double range = 0.0;           // g either way, the samples the line is fitted to; 0 for all
};

// What the replays do not give the platform: replays recorded too coarsely
// for the dampers (all of them, or `coarseLaps` of `laps`), no wheel
// positions for the tracks and wheelbase, no recorded travel.
struct PlatformGaps {
  std::size_t coarseLaps = 0;
  std::size_t laps = 0;
  double coarseInterval = 0.0;  // s
  bool noGeometry = false;
  bool noTravel = false;
};

struct Platform {
  PlatformNumber rollGradient;   // degrees per g, positive rolling toward the outside of the turn
  PlatformNumber lltdFront;      // the front axle's share of the lateral load transfer
  PlatformNumber pitchGradient;  // degrees per g of longitudinal acceleration, positive nose down
  std::array<WheelPlatform, raf::wheelCount> wheels;
  bool dampersMeasured = false;
  // The charts: roll, and each axle's transfer, N, against lateral acceleration.
  PlatformChartLine roll;
  std::array<PlatformChartLine, 2> transfer;
  PlatformGaps gaps;
};

// The least samples in a lap, or a chart's bin, for a slope or a mean.
inline constexpr double minPlatformSamples = 50.0;

Platform analysePlatform(const PlatformSamples& samples, const Resamples& resamples);

}  // namespace skidlog

#endif  // SKIDLOG_REPORT_ANALYSIS_PLATFORM_PLATFORM_H_
