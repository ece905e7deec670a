// Laps read by place, per track and layout: the reference lap (the fastest
// complete lap of all groups, or the one the user names), every lap placed
// along its path, the time delta against it, the track's corners, and per
// corner and lap the speeds, the time, the balance by phase and each axle's
// use of its grip; per group, each lap and corner number over its laps with a
// 95 % interval over them.
#ifndef SKIDLOG_REPORT_LAPS_LAP_ANALYSIS_H_
#define SKIDLOG_REPORT_LAPS_LAP_ANALYSIS_H_

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include <span>

#include "report/analysis/compare/differences.h"
#include "report/analysis/compare/over_laps.h"
#include "report/analysis/report_group.h"
#include "report/laps/phases/balance_by_speed.h"
#include "report/laps/phases/corner_phases.h"
#include "report/laps/corners/corner_priors.h"
#include "report/laps/corners/corners.h"
#include "report/laps/place/lap_path.h"
#include "report/laps/session/session.h"
#include "report/quantity/quantities.h"

namespace skidlog {

// The time delta, speed and grip use are given every this many metres of the
// reference path (more on a long track: at most maxTracePoints points).
inline constexpr double traceSpacing = 5.0;
inline constexpr std::size_t maxTracePoints = 2000;

struct LapResult {
  std::size_t group = 0;
  std::size_t replay = 0;  // within its group
  std::string file;
  bool complete = false;     // its samples meet its recorded lap time within one sample, and reach the line
  double lapTime = 0.0;      // s, NaN when partial
  std::vector<double> splits;         // s, the recorded splits before the line
  std::vector<double> deltaAtSplits;  // s, at the reference's split places; NaN where not reached
  std::vector<double> splitShift;     // m each split place was moved to the reference's; NaN where not pinned
  double deltaAtLine = 0.0;           // s, NaN unless both laps are complete
  double reach = 0.0;                 // m along the reference path it was followed
  // On the track's trace points: time delta (s), speed (m/s), each axle's
  // use of its grip at the nearest sample; NaN where not reached or not known.
  std::vector<double> delta;
  std::vector<double> speed;
  std::vector<double> frontUse;
  std::vector<double> rearUse;
  // The driver's inputs at the nearest sample: pedals 0 to 1 as recorded,
  // steering in degrees, the gear.
  std::vector<double> throttle;
  std::vector<double> brake;
  std::vector<double> steer;
  std::vector<double> gear;
};

// The per-corner numbers, in the order the JSON writes them.
enum CornerKey : std::size_t {
  cornerTime,
  cornerMinSpeed,
  understeerEntry,
  understeerMiddle,
  understeerExit,
  frontUse,
  rearUse,
  frontUseOfPeak,
  rearUseOfPeak,
  brakeAt,
  brakeReleaseAt,
  peakBrake,
  minSpeedAt,
  gearAtMinSpeed,
  rpmAtMinSpeed,
  fullThrottleAt,
  throttleOnAt,
  coastSeconds,
  lineEntry,
  lineApex,
  lineExit,
  steerApex,
  segmentTime,
  segmentDelta,
  entryDelta,
  exitDelta,
  cornerKeyCount
};
inline constexpr const char* cornerKeyNames[cornerKeyCount] = {
    "time_s", "min_speed", "understeer_entry_deg", "understeer_middle_deg", "understeer_exit_deg",
    "front_use", "rear_use", "front_use_of_peak", "rear_use_of_peak",
    "brake_m", "brake_release_m", "peak_brake", "min_speed_m", "gear_min", "rpm_min", "full_throttle_m", "throttle_on_m",
    "coast_s", "line_entry_m", "line_apex_m", "line_exit_m", "steer_apex_deg",
    "segment_time_s", "segment_delta_s", "entry_delta_s", "exit_delta_s"};
// The finest step each is measured to, in its unit (its grain): no spread
// is taken as smaller, and no difference smaller is claimed. What a driver
// can act on, its resolution, is the quantity table's.
inline constexpr double cornerKeyGrain[cornerKeyCount] = {
    0.001, 0.01, 0.01, 0.01, 0.01, 0.001, 0.001, 0.001, 0.001,
    0.1, 0.1, 0.001, 0.1, 1.0, 10.0, 0.1, 0.1, 0.001, 0.1, 0.1, 0.1, 0.01,
    0.001, 0.001, 0.001, 0.001};

// Whether a lap's value of `key` sits at a bound it cannot pass: the brake
// pedal at 1, no coasting. Laps that all sit there show no spread, whatever
// the driver would have done beyond it.
inline bool atCornerLimit(std::size_t key, double v) {
  return (key == peakBrake && v >= 1.0) || (key == coastSeconds && v <= 0.0);
}

struct CornerLap {
  std::size_t lap = 0;  // into the track's laps
  double entrySpeed = 0.0;  // m/s; NaN where not known
  double exitSpeed = 0.0;
  double delta = 0.0;       // s, this lap's time through the corner less the reference's
  std::array<double, cornerKeyCount> value{};
  std::optional<bool> lifts;    // the throttle falls below pressed for this corner; unknown where not reached
  bool pedalsClamped = false;   // a pedal outside 0 to 1 was taken at its nearest end
  bool gearOutOfRange = false;  // the gear at the lowest speed is no gear
  CornerPhases phases;          // entry, middle and exit; unknown where the lap does not get through
};

struct CornerGroup {
  std::size_t group = 0;
  std::size_t laps = 0;  // of the group through the corner
  std::size_t liftKnown = 0;  // of them, those whose lift is known
  std::size_t lifting = 0;    // and of those, the laps that lift
  std::array<OverLaps, cornerKeyCount> value;  // each over the laps that give it
  std::array<std::size_t, cornerKeyCount> atLimit{};  // of those laps, the ones at a limit (atCornerLimit)
  // Each phase's numbers over the laps that give them; the time at the end
  // of the travel is a measurement even at none, never at a limit.
  std::array<std::array<OverLaps, phaseKeyCount>, phaseCount> phase;
};

// A group's laps of a track.
struct TrackGroup {
  std::size_t group = 0;
  std::size_t laps = 0;          // complete and partial
  std::size_t completeLaps = 0;
  OverLaps lapTime;              // s, over the complete laps
  OverLaps deltaAtLine;          // s, likewise
  double bestLapTime = 0.0;      // s, NaN without a complete lap
  std::size_t bestLap = 0;       // into the track's laps
  std::vector<float> intervals;  // s, the sample intervals of its laps as recorded, ascending, each once
  // Its best lap from its complete laps' fastest segments: the sum of each
  // segment's fastest time, and the lap (into the track's laps) that gave each.
  double bestOfSegments = 0.0;  // s, NaN without a complete lap
  std::vector<double> bestSegmentTime;
  std::vector<std::size_t> bestSegmentLap;
  // Its time delta over the track's trace points, over its complete laps:
  // the mean and its 95 % band (NaN with fewer than two laps).
  std::vector<double> deltaMean;
  std::vector<double> deltaLow;
  std::vector<double> deltaHigh;
  ClassBalance balanceBySpeed;  // its understeer by phase in the track's slow and fast corners
};

struct CornerResult {
  TrackCorner corner;
  double segmentStart = 0.0;  // m: the middle of the straight before it (the line for the first)
  double segmentEnd = 0.0;    // m: the middle of the straight after it (the line for the last)
  // The flat sweepers on its exit whose segments its own takes in (it then
  // ends at the middle of the straight after the last of them), by name.
  std::vector<std::string> sweepers;
  std::vector<CornerLap> laps;
  std::vector<CornerGroup> groups;
};

struct TrackAnalysis {
  std::string track;
  std::string layout;
  std::size_t reference = 0;  // into laps
  LapPath path;
  std::vector<double> traceAt;  // m along the path: the trace points
  std::vector<double> traceX;   // their world positions
  std::vector<double> traceY;
  std::vector<double> referenceSplitAt;  // m: where the reference passes its splits before the line
  std::vector<LapResult> laps;
  std::vector<CornerResult> corners;
  SpeedClasses speedClasses;      // its corners, slow and fast
  std::vector<TrackGroup> groups;  // one per group of the report, in its order
  std::vector<TrackPrior> priors;  // what each corner number's spread, and the lap time's, was moderated toward
  Session session;                 // its groups ranked by pace, and where they differ
};

// Every track among the groups' replays that holds a complete lap. Replays
// without split times are left out, with a message in `messages` (one line
// each, without the program's name). `reference` names a replay to lay the
// others against. REQUIRES: every group is analysed.
std::vector<TrackAnalysis> analyseTracks(std::span<const ReportGroup> groups,
                                         const std::optional<std::string>& reference,
                                         std::vector<std::string>& messages);

// The lengths that bound the track's places and times: its length, and its
// longest complete lap's time (unbounded without one).
TrackScale scaleOf(const TrackAnalysis& track);

// The lap and corner differences between every later group and the first,
// where both hold a lap: lap time; per corner its time, minimum speed, the
// understeer angle by phase, each axle's use of its grip and the driver's
// actions; each with its interval over laps. A number for which one group's
// laps all sit at a limit is not comparable, and so is the gear where the
// groups' gearboxes differ. `gearing` is each group's overall gear ratios
// (final drive times each gear's), empty where unknown.
std::vector<Difference> compareLaps(const std::vector<TrackAnalysis>& tracks,
                                    const std::vector<std::vector<double>>& gearing = {});

}  // namespace skidlog

#endif  // SKIDLOG_REPORT_LAPS_LAP_ANALYSIS_H_
