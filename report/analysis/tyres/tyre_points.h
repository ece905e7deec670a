// The tyre's rows as points: what the per-wheel CSV would hold for each wheel,
// pooled over the replays of one group, each row tagged with its sample and
// its block of consecutive samples; and the traces of each replay.
#ifndef SKIDLOG_REPORT_ANALYSIS_TYRES_TYRE_POINTS_H_
#define SKIDLOG_REPORT_ANALYSIS_TYRES_TYRE_POINTS_H_

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "raf/replay.h"

namespace skidlog {

// Room in `v` for `more` entries beyond its size. A group appends replay
// after replay: the room at least doubles when it grows, so that appending
// many replays copies each entry a few times, not once per replay after it.
template <class T>
void roomFor(std::vector<T>& v, std::size_t more) {
  if (v.capacity() - v.size() < more) v.reserve(std::max(v.size() + more, 2 * v.capacity()));
}

// A point's index among its wheel's (or axle's) points.
using PointIndex = std::uint32_t;

// One entry per row the per-wheel CSV writes for the wheel, in row order.
struct WheelPoints {
  std::vector<float> slipAngle;         // degrees
  std::vector<float> lateralGrip;       // lateral force / normal load
  std::vector<float> slipRatio;
  std::vector<float> longitudinalGrip;  // longitudinal force / normal load
  std::vector<float> normalLoad;        // N
  std::vector<float> speed;             // longitudinal speed, m/s
  std::vector<std::uint32_t> sample;    // numbered over the group's replays
  std::vector<std::uint32_t> block;     // of blockSeconds, numbered over the group's replays

  std::size_t size() const { return sample.size(); }
  // Room for `more` points beyond its size (roomFor on every series).
  void roomFor(std::size_t more);
  // Gives back the room no point took.
  void shrinkToFit();
  // Gives back the slips, speeds and blocks once the fits are taken: the
  // grip use along a lap reads only the grips, loads and samples.
  void keepGripsAndLoads();
};

using TyrePoints = std::array<WheelPoints, raf::wheelCount>;

// Where a replay's samples and blocks start in its group's numbering.
struct SampleNumbering {
  std::uint32_t firstSample = 0;
  std::uint32_t firstBlock = 0;
};

// Samples per block: blockSeconds' worth, or more in a recording so long
// that it would make more than maxBlocksPerReplay blocks; an interval of 0 or
// less counts as one sample per block.
std::size_t samplesPerBlock(std::size_t n, double interval);

// The blocks of blockSeconds that n samples `interval` s apart fill.
std::uint32_t blockCount(std::size_t n, double interval);

// Appends the rows of every wheel of `replay` to `points`.
// REQUIRES: the replay's wheel series are derived.
void appendTyrePoints(const Replay& replay, SampleNumbering numbering, TyrePoints& points);

// An axle's points, one per sample at which both its wheels are in their
// fitting subset: the mean of their slip angles and slip ratios, the axle's
// force over its load as grip (so the two wheels' camber thrusts cancel as
// they do on the car), the mean of their loads, the slower wheel's speed.
WheelPoints axlePoints(const WheelPoints& left, const std::vector<PointIndex>& leftFitted, const WheelPoints& right,
                       const std::vector<PointIndex>& rightFitted);

// Every sample of one replay over time: the driver's inputs and the loads.
// Series taken over from the replay, not copied.
struct ReplayTrace {
  Series<float> time;      // s
  Series<float> distance;  // m, along the car's path
  Series<float> speed;     // m/s
  Series<float> throttle;  // 0 to 1
  Series<float> brake;     // 0 to 1
  Series<float> steer;     // degrees
  std::array<Series<float>, raf::wheelCount> normalLoad;  // N
};

// The replay's traces, taking the series they need out of the replay, which
// is left without them. REQUIRES: the replay's wheel series are derived.
ReplayTrace takeTrace(Replay& replay);

}  // namespace skidlog

#endif  // SKIDLOG_REPORT_ANALYSIS_TYRES_TYRE_POINTS_H_
