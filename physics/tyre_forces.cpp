#include "physics/tyre_forces.h"

namespace skidlog {

void computeTyreForces(WheelTrack& wheel, const CarTrack& car, float wheelMass) {
  const std::size_t n = wheel.forceZ.size();
  for (std::size_t i = 0; i < n; ++i) {
    // The file's force is given in the car's axes.
    const Vector3 zTerm = scaled(wheel.forceZ[i], car.axisZ[i]);
    const Vector3 yTerm = scaled(wheel.forceY[i], car.axisY[i]);
    const Vector3 xTerm = scaled(wheel.forceX[i], car.axisX[i]);
    const Vector3 worldForce = (xTerm + yTerm) + zTerm;
    const Vector3 inertial = scaled(wheelMass, wheel.acceleration[i] - gravity);
    const Vector3 tyreForce = inertial + worldForce;
    wheel.lateralForce.push_back(toFloat(dot(wheel.lateralAxis[i], tyreForce)));
    wheel.longitudinalForce.push_back(toFloat(dot(wheel.longitudinalAxis[i], tyreForce)));
    wheel.normalLoad.push_back(toFloat(dot(wheel.normalAxis[i], tyreForce)));
  }
}

}  // namespace skidlog
