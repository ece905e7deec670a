#include "tools/generator/tyre.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace skidlog::generator {

double GripCurve::at(double slip, double peakScale) const {
  const double u = B * slip;
  return D * peakScale * std::sin(C * std::atan(u - E * (u - std::atan(u))));
}

double GripCurve::peakSlip() const {
  // The sine peaks where C atan(phi) = pi / 2; phi(u) = u - E (u - atan u)
  // rises monotonically for E < 1, so Newton's method from u = phi converges.
  const double target = std::tan(std::numbers::pi / (2.0 * C));
  double u = target;
  for (int k = 0; k < 50; ++k) {
    const double phi = u - E * (u - std::atan(u));
    const double slope = 1.0 - E * (u * u) / (1.0 + u * u);
    const double step = (phi - target) / slope;
    u -= step;
    if (std::fabs(step) < 1e-15 * std::max(1.0, u)) break;
  }
  return u / B;
}

double Tyre::peakScale(double load) const {
  return std::max(0.3, 1.0 + loadSensitivity * (load - nominalLoad) / nominalLoad);
}

Tyre withGrip(Tyre tyre, double scale) {
  tyre.lateral.D *= scale;
  tyre.longitudinal.D *= scale;
  return tyre;
}

}  // namespace skidlog::generator
