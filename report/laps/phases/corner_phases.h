// A corner's three phases on one lap, as engineers read balance: the entry
// (turn-in and braking into the corner), the middle (around the slowest
// point, where the lateral acceleration is near its peak for the corner) and
// the exit (from the middle to the corner's end, back on the throttle), with
// the car's balance and grip use in each.
#ifndef SKIDLOG_REPORT_LAPS_PHASES_CORNER_PHASES_H_
#define SKIDLOG_REPORT_LAPS_PHASES_CORNER_PHASES_H_

#include <array>
#include <cstddef>
#include <limits>
#include <span>

#include "raf/replay.h"
#include "report/analysis/platform/platform_samples.h"

namespace skidlog {

enum CornerPhase : std::size_t { entryPhase, middlePhase, exitPhase, phaseCount };
inline constexpr const char* phaseNames[phaseCount] = {"entry", "middle", "exit"};

// The middle holds the samples around its centre whose lateral acceleration
// is at least this share of the corner's peak.
inline constexpr double nearPeakShare = 0.8;
// The lateral acceleration is read as its mean over this long around each
// sample, s.
inline constexpr double lateralSmoothingSeconds = 0.5;

struct PhaseValues {
  static constexpr double unknown = std::numeric_limits<double>::quiet_NaN();
  double start = unknown;       // m along the reference lap
  double end = unknown;
  double understeer = unknown;  // deg, the median over the phase; positive understeer either way round
  double frontUse = unknown;    // of the axle's grip, the mean over the phase
  double rearUse = unknown;
  // The platform: the body's roll toward the outside, degrees (the mean);
  // the front axle's share of the lateral load transfer (the phase's mean
  // front transfer over the mean of both, a ratio of means: the middle holds
  // the lateral acceleration near constant, so a slope would say nothing);
  // per wheel the time within 2 % of the end of its travel, s, and the
  // damper's root mean square velocity, mm/s (unknown at 100 ms).
  double roll = unknown;
  double lltdFront = unknown;
  std::array<double, raf::wheelCount> atTravelEnd{unknown, unknown, unknown, unknown};
  std::array<double, raf::wheelCount> damperRms{unknown, unknown, unknown, unknown};
};
using CornerPhases = std::array<PhaseValues, phaseCount>;

// The numbers of a phase taken over a group's laps, each wheel's apart. The
// understeer is not among them: each phase's is the corner's
// understeer_entry_deg, understeer_middle_deg or understeer_exit_deg.
enum PhaseKey : std::size_t {
  phaseFrontUse,
  phaseRearUse,
  phaseRoll,
  phaseLltdFront,
  travelEndFL,
  travelEndFR,
  travelEndRL,
  travelEndRR,
  damperFL,
  damperFR,
  damperRL,
  damperRR,
  phaseKeyCount
};
inline constexpr const char* phaseKeyNames[phaseKeyCount] = {
    "front_use",       "rear_use",        "roll_deg",        "lltd_front",     "at_travel_end_s", "at_travel_end_s",
    "at_travel_end_s", "at_travel_end_s", "damper_rms_mm_s", "damper_rms_mm_s", "damper_rms_mm_s", "damper_rms_mm_s"};
// The finest step each is measured to in its unit (its grain; no spread is
// taken as smaller, no difference smaller claimed): a thousandth of grip use or share, a hundredth of a degree,
// 1 mm/s; on a stop 0.045 s, so that five samples at the recorded 10 ms
// (0.0099999998 s as a float) count and four do not: a wheel brushing its
// stop over a kerb for a few samples is not a platform that differs.
inline constexpr double phaseKeyGrain[phaseKeyCount] = {0.001, 0.001, 0.01,  0.001, 0.045, 0.045,
                                                             0.045, 0.045, 1.0,   1.0,   1.0,   1.0};

// The wheel a phase number is of (0 FL to 3 RR), or wheelCount for the axles'
// and the body's.
inline constexpr std::size_t phaseKeyWheel(std::size_t key) {
  return key >= travelEndFL && key <= damperRR ? (key - travelEndFL) % raf::wheelCount : raf::wheelCount;
}

// The value of `key` in a phase of one lap.
double phaseValue(const PhaseValues& v, std::size_t key);

// The samples of one lap through a corner, `first` to `last` of the
// group's channels, each with its place along the reference lap.
struct PhaseSamples {
  std::span<const double> distance;       // m, per sample of the lap
  std::span<const float> speed;           // m/s, likewise
  std::span<const float> lateral;         // g, per sample of the group
  std::span<const double> understeer;     // deg, likewise
  std::span<const double> frontUse;
  std::span<const double> rearUse;
  std::size_t groupOffset = 0;            // the lap's first sample in the group's
  std::size_t first = 0, last = 0;        // the corner's samples on the lap
  double interval = 0.01;                 // s between samples
  double cornerStart = 0.0, cornerEnd = 0.0;  // m
  const PlatformChannels* platform = nullptr;  // the group's, numbered as the other channels
  bool left = true;                       // the corner turns left
};

// The three phases of the lap: the middle is the stretch around the slowest
// sample (or, where the car is not near its peak lateral acceleration
// there, around the peak) over which the lateral acceleration (smoothed over
// lateralSmoothingSeconds) stays at nearPeakShare of the corner's peak or
// more; the entry runs from the
// corner's start to the middle, the exit from the middle to the corner's
// end. Places are in order, within the corner, never unknown; a phase of no
// samples has no values (a corner entered at its peak has no entry).
CornerPhases cornerPhases(const PhaseSamples& s);

}  // namespace skidlog

#endif  // SKIDLOG_REPORT_LAPS_PHASES_CORNER_PHASES_H_
