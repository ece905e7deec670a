// The tyre's rows as points: what the per-wheel CSV would hold for each wheel,
// pooled over one or more replays of one car, and the traces of each replay.
#ifndef SKIDLOG_REPORT_TYRE_POINTS_H_
#define SKIDLOG_REPORT_TYRE_POINTS_H_

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "raf/replay.h"

namespace skidlog {

// One entry per row the per-wheel CSV writes for the wheel, in row order.
struct WheelPoints {
  std::vector<float> slipAngle;         // degrees
  std::vector<float> lateralGrip;       // lateral force / normal load
  std::vector<float> slipRatio;
  std::vector<float> longitudinalGrip;  // longitudinal force / normal load
  std::vector<float> normalLoad;        // N
  std::vector<float> speed;             // longitudinal speed, m/s

  std::size_t size() const { return slipAngle.size(); }
};

using TyrePoints = std::array<WheelPoints, raf::wheelCount>;

// Every sample of one replay over time: the driver's inputs and the loads.
struct ReplayTrace {
  std::vector<float> time;      // s
  std::vector<float> distance;  // m, along the car's path
  std::vector<float> speed;     // m/s
  std::vector<float> throttle;  // 0 to 1
  std::vector<float> brake;     // 0 to 1
  std::vector<float> steer;     // degrees
  std::array<std::vector<float>, raf::wheelCount> normalLoad;  // N
};

// Appends the rows of every wheel of `replay` to `points`.
// REQUIRES: the replay's wheel series are derived.
void appendTyrePoints(const Replay& replay, TyrePoints& points);

// The replay's traces, taking the series they need out of the replay, which
// is left without them. REQUIRES: the replay's wheel series are derived.
ReplayTrace takeTrace(Replay& replay);

}  // namespace skidlog

#endif  // SKIDLOG_REPORT_TYRE_POINTS_H_
