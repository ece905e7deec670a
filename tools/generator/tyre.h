// The generator's tyres: curves of grip against slip, as the replay's reader
// measures slip (slip angle in its degrees with the integer speed divisor,
// slip ratio likewise), with a peak grip that falls as the normal load rises,
// a lateral cornering stiffness that rises with load and flattens out, and
// camber thrust: lateral grip at zero slip, to the right on a left wheel and
// to the left on a right one. A curve is a Magic Formula
//   grip = D(load) sin(C atan(B x - E (B x - atan(B x)))) [+- camber thrust]
// or a brush model, a shape the report does not fit: the contact patch
// sticks, then slides from its rear, grip D (3z - 3z^2 + z^3) with z = |x| / s
// up to the slip s where all of it slides, then falls smoothly by a share of
// D as sliding friction takes over.
#ifndef SKIDLOG_TOOLS_GENERATOR_TYRE_H_
#define SKIDLOG_TOOLS_GENERATOR_TYRE_H_

namespace skidlog::generator {

// One pure-slip curve; D is the peak grip at the tyre's nominal load.
struct GripCurve {
  double B = 0.0;  // 1 / unit of slip
  double C = 0.0;  // shape, above 1 so the curve has a peak
  double D = 0.0;  // peak grip at the nominal load
  double E = 0.0;  // curvature, below 1
  // A brush curve where slideSlip > 0: the slip at which the whole contact
  // patch slides (its peak), the share of D lost well beyond it, and the slip
  // over which that loss sets in. B, C and E are then unused.
  double slideSlip = 0.0;
  double slideFall = 0.0;
  double slideWidth = 1.0;

  bool brush() const { return slideSlip > 0.0; }
  // Grip at `slip` with the peak scaled by `peakScale`.
  double at(double slip, double peakScale = 1.0) const;
  // The slip (positive) where the curve is largest.
  double peakSlip() const;
  // The curve with its peak grip scaled by `scale`.
  GripCurve scaled(double scale) const {
    GripCurve curve = *this;
    curve.D *= scale;
    return curve;
  }
  // Grip per unit of slip at zero slip, with the peak unscaled.
  double stiffness() const { return brush() ? 3.0 * D / slideSlip : B * C * D; }
  // The curve of this shape with grip `stiffness` per unit of slip at zero
  // slip: B, or the brush's sliding slip, rescaled; the peak grip kept.
  GripCurve withStiffness(double stiffness) const;
};

// The brush curve with the Magic Formula curve's peak grip and stiffness at
// zero slip, losing `fall` of its peak over `width` slip units beyond it.
GripCurve brushLike(const GripCurve& curve, double fall, double width);

struct Tyre {
  GripCurve lateral;       // against slip angle, degrees, at the nominal load
  GripCurve longitudinal;  // against slip ratio
  double nominalLoad = 3000.0;  // N
  // Relative change of the peak grip per relative change of load from the
  // nominal load: -0.1 loses 10 % of peak grip at twice the nominal load.
  double loadSensitivity = -0.1;
  double camberThrust = 0.0;  // lateral grip at zero slip on a left wheel, at the nominal load
  // The load, N, at which the lateral cornering stiffness (force per degree)
  // is largest: the force per degree goes as sin(2 atan(load / this)), so it
  // rises with load and flattens out, and doubling a tyre's load gives well
  // under twice its cornering stiffness. Camber thrust comes from the same
  // tread and follows the same law. 0: stiffness in proportion to the peak
  // grip, every load's curve of one shape.
  double stiffnessPeakLoad = 0.0;

  // The factor on D at `load` N; never below 0.3.
  double peakScale(double load) const;
  // Lateral grip per degree at small slip at `load` N, relative to the
  // nominal load's (peak unscaled).
  double stiffnessScale(double load) const;
  // The lateral curve at `load` N: its peak scaled by peakScale, its
  // stiffness the load's (camber thrust apart).
  GripCurve lateralAt(double load) const {
    const GripCurve curve = lateral.scaled(peakScale(load));
    return stiffnessPeakLoad > 0.0 ? curve.withStiffness(corneringStiffness(load)) : curve;
  }
  // Lateral grip at zero slip on a left wheel at `load` N.
  double camberThrustAt(double load) const {
    return stiffnessPeakLoad > 0.0 ? camberThrust * stiffnessScale(load) : camberThrust;
  }
  // Lateral grip of the tyre on the left (`left`) or right side of the car.
  double lateralGrip(double slipAngleDeg, double load, bool left) const {
    const double thrust = camberThrustAt(load);
    return lateralAt(load).at(slipAngleDeg) + (left ? thrust : -thrust);
  }
  double longitudinalGrip(double slipRatio, double load) const {
    return longitudinal.at(slipRatio, peakScale(load));
  }
  // Lateral grip per degree at small slip, at `load` N.
  double corneringStiffness(double load) const { return lateral.stiffness() * stiffnessScale(load); }
  // The slip angle, degrees (positive), of the largest lateral grip at `load` N.
  double lateralPeakSlip(double load) const { return lateralAt(load).peakSlip(); }
  // The largest lateral grip at `load` N, on a left wheel.
  double lateralPeakGrip(double load) const { return lateral.D * peakScale(load) + camberThrustAt(load); }
  // Change of lateral peak grip per kN of load (while the scale is not clamped).
  double loadSensitivityPerKn() const { return lateral.D * loadSensitivity / nominalLoad * 1000.0; }
  // Relative change of the lateral peak grip per kN of load, at `load` N
  // (camber thrust apart).
  double relativeLoadSensitivityPerKn(double load) const {
    return loadSensitivity / nominalLoad * 1000.0 / peakScale(load);
  }
};

// The tyre whose curve `scale` scales in peak grip (D, both curves).
Tyre withGrip(Tyre tyre, double scale);

// The tyre with both curves brush curves (brushLike) of the same peak grip
// and stiffness.
Tyre brushTyre(Tyre tyre);

}  // namespace skidlog::generator

#endif  // SKIDLOG_TOOLS_GENERATOR_TYRE_H_
