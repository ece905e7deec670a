#include "report/analysis/replay_summary.h"

namespace skidlog {

LapSamples lapSamples(const Replay& replay, std::vector<std::int32_t> splitsMs) {
  LapSamples lap;
  lap.splitsMs = std::move(splitsMs);
  const std::size_t n = replay.sampleCount();
  lap.x.reserve(n);
  lap.y.reserve(n);
  lap.speed.assign(replay.car.speed.begin(), replay.car.speed.end());
  lap.throttle.assign(replay.car.throttle.begin(), replay.car.throttle.end());
  lap.brake.assign(replay.car.brake.begin(), replay.car.brake.end());
  lap.steerDeg.assign(replay.car.steerDeg.begin(), replay.car.steerDeg.end());
  lap.gear.assign(replay.car.gear.begin(), replay.car.gear.end());
  lap.engineSpeed.assign(replay.car.engineSpeed.begin(), replay.car.engineSpeed.end());
  for (const Vector3& p : replay.car.position) {
    lap.x.push_back(p.x);
    lap.y.push_back(p.y);
  }
  return lap;
}

}  // namespace skidlog
