// What the driver does through a corner, lap by lap, as places along the
// reference path (the same metres as the corner's apex): where the last
// braking before the apex begins and ends and how hard it is, where the speed
// is lowest and in which gear, where the throttle comes back and where it is
// full, how long neither pedal is pressed between, the line at the corner's
// start, apex and end, and the steering at the apex. A lap that does not do
// a thing has no place for it (NaN): a corner taken without braking has no
// braking point.
#ifndef SKIDLOG_REPORT_LAPS_CORNERS_DRIVER_ACTIONS_H_
#define SKIDLOG_REPORT_LAPS_CORNERS_DRIVER_ACTIONS_H_

#include <span>
#include <vector>

#include "report/analysis/replay_summary.h"
#include "report/laps/corners/corners.h"
#include "report/laps/place/lap_path.h"

namespace skidlog {

// A pedal counts as pressed from this much, 0 to 1.
inline constexpr double pedalPressed = 0.1;
// The throttle counts as full from this much.
inline constexpr double fullThrottle = 0.9;
// The highest gear a replay can mean; a larger gear is a damaged file's.
inline constexpr double maxGear = 15.0;

struct CornerActions {
  double brakeAt;         // m, where the last braking run before the apex begins
  double brakeReleaseAt;  // m, where it ends
  double peakBrake;       // 0 to 1, within it
  double minSpeedAt;      // m, the lowest speed between the corner's start and end
  double gearAtMinSpeed;  // the gear there
  double throttleOnAt;    // m, where the throttle run that reaches full throttle begins
  double fullThrottleAt;  // m, the first full throttle at or after the lowest speed
  double coastSeconds;    // s, neither pedal pressed from the braking's end (or the corner's start) to throttle on
  double lineEntry;       // m from the reference path at the corner's start, positive toward its inside
  double lineApex;
  double lineExit;
  double steerApexDeg;    // degrees, steering input at the apex, as recorded (positive to the left)
  bool pedalsClamped;     // a pedal outside 0 to 1 was taken at its nearest end
  bool gearOutOfRange;    // the gear at the lowest speed is no gear
};

// Where a corner's actions are looked for: braking after the previous
// corner's end (the line for the first), full throttle before the next
// corner's start (the line for the last), m.
struct CornerReach {
  double previousEnd;
  double nextStart;
};

// The actions of one lap through `corner`. `distance` is each sample's place
// along `path` (NaN from where the lap is no longer followed), `interval` the
// lap's sample interval, s.
CornerActions cornerActions(const TrackCorner& corner, CornerReach reach, std::span<const double> distance,
                            const LapSamples& lap, const LapPath& path, double interval);

}  // namespace skidlog

#endif  // SKIDLOG_REPORT_LAPS_CORNERS_DRIVER_ACTIONS_H_
