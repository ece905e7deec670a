#include "report/tyre_points.h"

#include <cmath>
#include <utility>

#include "csv/wheel_row.h"
#include "numeric/precision.h"

namespace skidlog {

void appendTyrePoints(const Replay& replay, TyrePoints& points) {
  const std::size_t n = replay.sampleCount();
  for (std::size_t w = 0; w < points.size(); ++w) {
    const WheelTrack& wheel = replay.wheels[w];
    WheelPoints& p = points[w];
    for (std::size_t i = 0; i < n; ++i) {
      if (!passesPerWheel(wheel, i)) continue;
      const WheelRow row = wheelRow(wheel, replay.geometry[w], i);
      p.slipAngle.push_back(toFloat(row.slipAngle));
      p.lateralGrip.push_back(row.lateralGrip);
      p.slipRatio.push_back(row.slipRatio);
      p.longitudinalGrip.push_back(row.longitudinalGrip);
      p.normalLoad.push_back(wheel.normalLoad[i]);
      p.speed.push_back(wheel.localVelocity[i].y);
    }
  }
}

ReplayTrace takeTrace(Replay& replay) {
  const std::size_t n = replay.sampleCount();
  CarTrack& car = replay.car;
  ReplayTrace t;
  t.distance.reserve(n);
  double travelled = 0.0;
  for (std::size_t i = 0; i < n; ++i) {
    if (i > 0) {
      const double step = length(car.position[i] - car.position[i - 1]);
      // A jump of more than 100 m in one sample is a reset, not a drive.
      if (std::isfinite(step) && step < 100.0) travelled += step;
    }
    t.distance.push_back(static_cast<float>(travelled));
  }
  t.time = std::move(replay.sampleTimes);
  t.speed = std::move(car.speed);
  t.throttle = std::move(car.throttle);
  t.brake = std::move(car.brake);
  t.steer = std::move(car.steerDeg);
  for (std::size_t w = 0; w < t.normalLoad.size(); ++w) t.normalLoad[w] = std::move(replay.wheels[w].normalLoad);
  return t;
}

}  // namespace skidlog
