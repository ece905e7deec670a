// What the driver does through a corner, lap by lap, as places along the
// reference path (the same metres as the corner's apex): where the braking
// zone into it begins and ends and how hard it is, where the speed is lowest
// and in which gear, where the throttle comes back and from where it stays
// full, how long neither pedal is pressed between, the line at the corner's
// start, apex and end, and the steering at the apex. A lap that does not do
// a thing has no place for it (NaN): a corner taken without braking has no
// braking point.
#ifndef SKIDLOG_REPORT_LAPS_CORNERS_DRIVER_ACTIONS_H_
#define SKIDLOG_REPORT_LAPS_CORNERS_DRIVER_ACTIONS_H_

#include <cstddef>
#include <limits>
#include <optional>
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
// Runs of brake are one braking zone while the gap between two is shorter
// than this, s, and holds no zoneThrottleSeconds of full throttle: a pumped
// pedal and a downshift's throttle blips are one zone.
inline constexpr double zoneGapSeconds = 1.0;
inline constexpr double zoneThrottleSeconds = 0.3;
// A lift of the throttle this short, without braking, that ends in a higher
// gear is a gear change, not a lift for the corner, s (real upshifts with the
// throttle lifted take 0.2 s).
inline constexpr double maxShiftSeconds = 0.5;
// The highest engine speed a replay can mean, rpm; more is a damaged file's.
inline constexpr double maxRpm = 30000.0;
// The highest gear a replay can mean; a larger gear is a damaged file's.
inline constexpr double maxGear = 15.0;

// What a lap does not do has no value.
inline constexpr double notDone = std::numeric_limits<double>::quiet_NaN();

struct CornerActions {
  double brakeAt = notDone;         // m, where the braking zone into the corner begins
  double brakeReleaseAt = notDone;  // m, where its last run ends
  double peakBrake = notDone;       // 0 to 1, within it
  double minSpeedAt = notDone;      // m, the lowest speed between the corner's start and end
  double gearAtMinSpeed = notDone;  // the gear there
  double rpmAtMinSpeed = notDone;   // rpm, the engine speed there: it compares across gearboxes, the gear does not
  // Whether the throttle falls below pedalPressed between the previous
  // corner's end (or where its throttle came back on, if later) and this
  // corner's end, other than for a gear change up; unknown where the lap does
  // not reach the corner.
  std::optional<bool> lifts;
  double throttleOnAt = notDone;    // m, where the run of throttle that ends this lift begins
  double fullThrottleAt = notDone;  // m, where the throttle is full to the corner's end (or the first full after it)
  // s, neither pedal pressed from the braking's end (or the corner's start)
  // to throttleOnAt; 0 where the corner is taken flat.
  double coastSeconds = notDone;
  std::size_t throttleOnSample = static_cast<std::size_t>(-1);  // the sample of throttleOnAt; npos without one
  double lineEntry = notDone;       // m from the reference path at the corner's start, positive toward its inside
  double lineApex = notDone;
  double lineExit = notDone;
  double steerApexDeg = notDone;    // degrees, steering input at the apex, as recorded (positive to the left)
  bool pedalsClamped = false;       // a pedal outside 0 to 1 was taken at its nearest end
  bool gearOutOfRange = false;      // the gear at the lowest speed is no gear
};

// Where a corner's actions are looked for: braking and the lift after the
// previous corner's end (the line for the first), m, and not before the
// sample where the previous corner's throttle came back on (0 for none); the
// throttle's return and full throttle before the next corner's start (the
// line for the last), m. A lift whose throttle comes back only after the next
// corner's start is the next corner's: so no two corners share a throttle
// place.
struct CornerReach {
  double previousEnd;
  double nextStart;
  std::size_t liftFrom = 0;
};

// The actions of one lap through `corner`. `distance` is each sample's place
// along `path` (NaN from where the lap is no longer followed), `interval` the
// lap's sample interval, s.
CornerActions cornerActions(const TrackCorner& corner, CornerReach reach, std::span<const double> distance,
                            const LapSamples& lap, const LapPath& path, double interval);

}  // namespace skidlog

#endif  // SKIDLOG_REPORT_LAPS_CORNERS_DRIVER_ACTIONS_H_
