#include "physics/wheel_motion.h"

namespace skidlog {

void computePosition(WheelTrack& wheel, const WheelGeometry& geometry, const CarTrack& car) {
  const std::size_t n = car.position.size();
  for (std::size_t i = 0; i < n; ++i) {
    // Mounting height less the radius plus the deflection, in double, rounded once.
    const float h =
        toFloat((widen(geometry.offsetZ) - widen(geometry.radius)) + widen(wheel.suspensionDeflection[i]));
    const Vector3 zTerm = scaled(h, car.axisZ[i]);
    const Vector3 yTerm = scaled(geometry.offsetY, car.axisY[i]);
    const Vector3 xTerm = scaled(geometry.offsetX, car.axisX[i]);
    Vector3 p = car.position[i] + xTerm;
    p += yTerm;
    p += zTerm;
    wheel.position.push_back(p);
  }
}

void differentiate(const Series<Vector3>& series, const Series<float>& times, Series<Vector3>& out) {
  const std::size_t n = series.size();
  if (n == 1) {
    // No neighbour to difference against: the lone sample is taken as at rest.
    out.push_back(Vector3(0.0f, 0.0f, 0.0f));
    return;
  }
  for (std::size_t i = 0; i < n; ++i) {
    const std::size_t before = i == 0 ? 0 : i - 1;
    const std::size_t after = i == n - 1 ? n - 1 : i + 1;
    const Vector3 d = series[after] - series[before];
    const float dt = times[after] - times[before];
    out.push_back(d / dt);
  }
}

void computeDerivatives(WheelTrack& wheel, const Series<float>& sampleTimes) {
  differentiate(wheel.position, sampleTimes, wheel.velocity);
  differentiate(wheel.velocity, sampleTimes, wheel.acceleration);
}

}  // namespace skidlog
