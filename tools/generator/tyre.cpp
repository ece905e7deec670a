#include "tools/generator/tyre.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace skidlog::generator {

double GripCurve::at(double slip, double peakScale) const {
  if (brush()) {
    const double magnitude = std::fabs(slip);
    double grip = 1.0;
    if (magnitude < slideSlip) {
      const double z = magnitude / slideSlip;
      grip = 3.0 * z - 3.0 * z * z + z * z * z;
    } else {
      const double beyond = (magnitude - slideSlip) / slideWidth;
      grip = 1.0 - slideFall * (1.0 - std::exp(-beyond * beyond));
    }
    return std::copysign(D * peakScale * grip, slip);
  }
  const double u = B * slip;
  return D * peakScale * std::sin(C * std::atan(u - E * (u - std::atan(u))));
}

double GripCurve::peakSlip() const {
  if (brush()) return slideSlip;
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

GripCurve GripCurve::withStiffness(double stiffness) const {
  GripCurve curve = *this;
  if (brush()) {
    curve.slideSlip = 3.0 * D / stiffness;
  } else {
    curve.B = stiffness / (C * D);
  }
  return curve;
}

double Tyre::peakScale(double load) const {
  return std::max(0.3, 1.0 + loadSensitivity * (load - nominalLoad) / nominalLoad);
}

double Tyre::stiffnessScale(double load) const {
  if (stiffnessPeakLoad <= 0.0) return peakScale(load);
  // Force per degree sin(2 atan(load / peak load)), per unit of load,
  // relative to the nominal load's.
  const auto perLoad = [&](double n) { return std::sin(2.0 * std::atan(n / stiffnessPeakLoad)) / n; };
  return perLoad(std::max(load, 1.0)) / perLoad(nominalLoad);
}

GripCurve brushLike(const GripCurve& curve, double fall, double width) {
  GripCurve brush;
  brush.D = curve.D;
  brush.slideSlip = 3.0 * curve.D / curve.stiffness();
  brush.slideFall = fall;
  brush.slideWidth = width;
  return brush;
}

Tyre brushTyre(Tyre tyre) {
  // Lateral grip falls by a tenth over 8 degrees beyond the peak, longitudinal
  // by a fifth over a slip ratio of 0.15.
  tyre.lateral = brushLike(tyre.lateral, 0.1, 8.0);
  tyre.longitudinal = brushLike(tyre.longitudinal, 0.2, 0.15);
  return tyre;
}

Tyre withGrip(Tyre tyre, double scale) {
  tyre.lateral.D *= scale;
  tyre.longitudinal.D *= scale;
  return tyre;
}

}  // namespace skidlog::generator
