#include "csv/wheel_row.h"

#include <cmath>

#include "numeric/precision.h"

namespace skidlog {

std::int32_t truncatedMagnitude(float x) {
  if (std::isnan(x)) return 0;
  // Beyond the 32-bit range the truncation is saturated rather than undefined.
  if (std::fabs(x) >= 2147483648.0f) return 2147483647;
  const std::int32_t whole = static_cast<std::int32_t>(x);
  return whole < 0 ? -whole : whole;
}

namespace {

bool rollsForward(const WheelTrack& wheel, std::size_t i) {
  return wheel.localVelocity[i].y >= minLongitudinalSpeed;  // NaN fails
}

}  // namespace

bool passesPerWheel(const WheelTrack& wheel, std::size_t i) {
  return rollsForward(wheel, i) && wheel.normalLoad[i] >= minNormalLoad;
}

bool passesSideBySide(const WheelTrack& wheel, std::size_t i) {
  return rollsForward(wheel, i) && static_cast<float>(truncatedMagnitude(wheel.normalLoad[i])) >= minNormalLoad;
}

WheelRow wheelRow(const WheelTrack& wheel, const WheelGeometry& geometry, std::size_t i) {
  const float v = wheel.localVelocity[i].y;  // longitudinal speed
  const float u = wheel.localVelocity[i].x;  // lateral speed
  // The whole-number part of the speed, not the speed: at least 3 in a written row.
  const double speedDivisor = truncatedMagnitude(v);
  WheelRow row;
  row.wheelSteer = widen(wheel.steer[i]) * degreesPerRadian;
  row.camber = -widen(wheel.lean[i]) * degreesPerRadian;
  row.longitudinalGrip = wheel.longitudinalForce[i] / wheel.normalLoad[i];
  row.lateralGrip = wheel.lateralForce[i] / wheel.normalLoad[i];
  row.slipRatio = toFloat((widen(wheel.angularVelocity[i]) * widen(geometry.radius) - widen(v)) / speedDivisor);
  row.slipAngle = std::atan(-widen(u) / speedDivisor) * degreesPerRadian;
  return row;
}

}  // namespace skidlog
