#include "physics/wheel_axes.h"

#include <cmath>

#include "numeric/trig.h"

namespace skidlog {

Vector3 normalised(const Vector3& v) {
  const double len = length(v);
  const float factor = len > 0.0 ? 1.0f / toFloat(len) : 0.0f;
  return scaled(factor, v);
}

Vector3 turned(const Vector3& v, float c, float s) {
  // Every product is formed, zeros included, so a non-finite component spreads
  // to all three and -0 comes out as +0.
  const double x = (widen(v.x) * widen(c) + widen(v.y) * -widen(s)) + widen(v.z) * 0.0;
  const double y = (widen(v.x) * widen(s) + widen(v.y) * widen(c)) + widen(v.z) * 0.0;
  const double z = (widen(v.x) * 0.0 + widen(v.y) * 0.0) + widen(v.z) * 1.0;
  return Vector3(toFloat(x), toFloat(y), toFloat(z));
}

void computeAxes(WheelTrack& wheel, bool isFront, bool isLeft, const WheelTrack& sideNeighbour,
                 const WheelTrack& axleNeighbour) {
  const std::size_t n = wheel.position.size();
  for (std::size_t i = 0; i < n; ++i) {
    const Vector3& w = wheel.position[i];
    const Vector3& s = sideNeighbour.position[i];
    const Vector3& a = axleNeighbour.position[i];
    // L points from the left wheel of the axle to the right, D from the rear
    // wheel of the side to the front.
    const Vector3 lateral = isLeft ? a - w : w - a;
    const Vector3 side = isFront ? w - s : s - w;
    const Vector3 normal = cross(lateral, side);
    const Vector3 longitudinal = cross(normal, lateral);

    const double theta = widen(wheel.steer[i]);
    const float c = toFloat(cosine(theta));
    const float sn = toFloat(sine(theta));
    wheel.lateralAxis.push_back(turned(normalised(lateral), c, sn));
    wheel.longitudinalAxis.push_back(turned(normalised(longitudinal), c, sn));
    wheel.normalAxis.push_back(normalised(normal));
  }
}

void computeLocalVelocity(WheelTrack& wheel) {
  const std::size_t n = wheel.velocity.size();
  for (std::size_t i = 0; i < n; ++i) {
    const Vector3& v = wheel.velocity[i];
    wheel.localVelocity.push_back(Vector3(toFloat(dot(v, wheel.lateralAxis[i])),
                                          toFloat(dot(v, wheel.longitudinalAxis[i])),
                                          toFloat(dot(v, wheel.normalAxis[i]))));
  }
}

}  // namespace skidlog
