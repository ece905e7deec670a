// The generator's tyres: Magic Formula curves of grip against slip, as the
// replay's reader measures slip (slip angle in its degrees with the integer
// speed divisor, slip ratio likewise), with a peak grip that falls as the
// normal load rises, and camber thrust: lateral grip at zero slip, to the
// right on a left wheel and to the left on a right one.
//   grip = D(load) sin(C atan(B x - E (B x - atan(B x)))) [+- camber thrust]
#ifndef SKIDLOG_TOOLS_GENERATOR_TYRE_H_
#define SKIDLOG_TOOLS_GENERATOR_TYRE_H_

namespace skidlog::generator {

// One pure-slip curve; D is the peak grip at the tyre's nominal load.
struct GripCurve {
  double B = 0.0;  // 1 / unit of slip
  double C = 0.0;  // shape, above 1 so the curve has a peak
  double D = 0.0;  // peak grip at the nominal load
  double E = 0.0;  // curvature, below 1

  // Grip at `slip` with the peak scaled by `peakScale`.
  double at(double slip, double peakScale = 1.0) const;
  // The slip (positive) where the curve is largest.
  double peakSlip() const;
};

struct Tyre {
  GripCurve lateral;       // against slip angle, degrees
  GripCurve longitudinal;  // against slip ratio
  double nominalLoad = 3000.0;  // N
  // Relative change of the peak grip per relative change of load from the
  // nominal load: -0.1 loses 10 % of peak grip at twice the nominal load.
  double loadSensitivity = -0.1;
  double camberThrust = 0.0;  // lateral grip at zero slip on a left wheel

  // The factor on D at `load` N; never below 0.3.
  double peakScale(double load) const;
  // Lateral grip of the tyre on the left (`left`) or right side of the car.
  double lateralGrip(double slipAngleDeg, double load, bool left) const {
    return lateral.at(slipAngleDeg, peakScale(load)) + (left ? camberThrust : -camberThrust);
  }
  double longitudinalGrip(double slipRatio, double load) const {
    return longitudinal.at(slipRatio, peakScale(load));
  }
  // B C D(load): lateral grip per degree at small slip.
  double corneringStiffness(double load) const { return lateral.B * lateral.C * lateral.D * peakScale(load); }
  // Change of lateral peak grip per kN of load (while the scale is not clamped).
  double loadSensitivityPerKn() const { return lateral.D * loadSensitivity / nominalLoad * 1000.0; }
};

// The tyre whose curve `scale` scales in peak grip (D, both curves).
Tyre withGrip(Tyre tyre, double scale);

}  // namespace skidlog::generator

#endif  // SKIDLOG_TOOLS_GENERATOR_TYRE_H_
