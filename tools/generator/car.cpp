#include "tools/generator/car.h"

#include <algorithm>
#include <cmath>

namespace skidlog::generator {
namespace {

// x in [low, high] where the increasing function f reaches `target`, by bisection.
template <class F>
double solveIncreasing(F f, double target, double low, double high) {
  for (int k = 0; k < 60; ++k) {
    const double mid = (low + high) / 2.0;
    (f(mid) < target ? low : high) = mid;
  }
  return (low + high) / 2.0;
}

// x in [low, high] where f, rising then falling there, is largest, by
// golden-section search.
template <class F>
double largestAt(F f, double low, double high) {
  const double ratio = (std::sqrt(5.0) - 1.0) / 2.0;
  double a = high - ratio * (high - low), b = low + ratio * (high - low);
  double fa = f(a), fb = f(b);
  for (int k = 0; k < 80 && high - low > 1e-10; ++k) {
    if (fa < fb) {
      low = a;
      a = b;
      fa = fb;
      b = low + ratio * (high - low);
      fb = f(b);
    } else {
      high = b;
      b = a;
      fb = fa;
      a = high - ratio * (high - low);
      fa = f(a);
    }
  }
  return (low + high) / 2.0;
}

}  // namespace

double CarSetup::staticLoad(int w) const {
  const double axleShare = isFront(w) ? cgToRearAxle / wheelbase() : cgToFrontAxle / wheelbase();
  return totalMass * standardGravity * axleShare / 2.0;
}

namespace {

constexpr double defaultAntiRollFront = 30000.0;
constexpr double defaultAntiRollRear = 20000.0;

// Both axles' roll stiffness from springs and bars at the default bars, per
// unit of the roll angle's factor they share.
double totalRollStiffness(const CarSetup& car) {
  return (car.springRate + defaultAntiRollFront) * car.frontTrack * car.frontTrack +
         (car.springRate + defaultAntiRollRear) * car.rearTrack * car.rearTrack;
}

}  // namespace

double CarSetup::antiRollFront() const {
  const double moved = (frontRollShare - defaultFrontRollShare) * totalRollStiffness(*this);
  return std::max(0.0, defaultAntiRollFront + moved / (frontTrack * frontTrack));
}

double CarSetup::antiRollRear() const {
  const double moved = (frontRollShare - defaultFrontRollShare) * totalRollStiffness(*this);
  return std::max(0.0, defaultAntiRollRear - moved / (rearTrack * rearTrack));
}

CarSetup exampleCar() {
  CarSetup car;
  car.front.lateral = {0.16, 1.5, 1.40, 0.3};
  car.front.longitudinal = {12.0, 1.65, 1.38, 0.0};
  car.rear.lateral = {0.25, 1.5, 1.22, 0.3};
  car.rear.longitudinal = {12.0, 1.65, 1.30, 0.0};
  car.front.nominalLoad = car.rear.nominalLoad = 3000.0;
  car.front.loadSensitivity = car.rear.loadSensitivity = -0.12;
  car.front.camberThrust = 0.06;
  car.rear.camberThrust = 0.04;
  return car;
}

CarSetup withBrushTyres(CarSetup car) {
  car.front = brushTyre(car.front);
  car.rear = brushTyre(car.rear);
  return car;
}

PerWheel wheelLoads(const CarSetup& car, double ax, double ay) {
  const double pitchTransfer = car.totalMass * ax * car.cgHeight / car.wheelbase() / 2.0;
  // The axles' transfers T share, s T at the front and (1 - s) T at the rear,
  // balance the roll moment: s T tf + (1 - s) T tr = m ay h.
  const double share = car.frontRollShare;
  const double transfer = car.totalMass * ay * car.cgHeight / (share * car.frontTrack + (1.0 - share) * car.rearTrack);
  const double frontRoll = share * transfer;
  const double rearRoll = (1.0 - share) * transfer;
  PerWheel n{};
  for (int w = 0; w < 4; ++w) {
    // Braking loads the front, cornering the outside wheels (the right ones
    // in a left turn).
    const double pitch = isFront(w) ? -pitchTransfer : pitchTransfer;
    const double lateral = (isFront(w) ? frontRoll : rearRoll) * (isLeft(w) ? -1.0 : 1.0);
    n[static_cast<std::size_t>(w)] = car.staticLoad(w) + pitch + lateral;
  }
  return n;
}

namespace {

// An axle's two wheels at their loads: each one's curve and camber thrust,
// taken once for the many slips a search tries.
struct AxleWheels {
  AxleWheels(const Tyre& tyre, double left, double right)
      : loadLeft(left), loadRight(right), curveLeft(tyre.lateralAt(left)), curveRight(tyre.lateralAt(right)),
        thrustLeft(tyre.camberThrustAt(left)), thrustRight(tyre.camberThrustAt(right)) {}

  // The axle's lateral force toward `side` at slip angle `slipDeg` (degrees,
  // positive toward that side).
  double force(double side, double slipDeg) const {
    return side * (loadLeft * (curveLeft.at(side * slipDeg) + thrustLeft) +
                   loadRight * (curveRight.at(side * slipDeg) - thrustRight));
  }

  double loadLeft, loadRight;
  GripCurve curveLeft, curveRight;
  double thrustLeft, thrustRight;
};

AxlePeak peakOf(const Tyre& tyre, const AxleWheels& wheels, double side) {
  // Each wheel's grip peaks at its own load's slip; the sum rises up to the
  // smaller of the two and falls beyond the larger, so its peak lies between
  // them: golden-section search there.
  const double left = wheels.curveLeft.peakSlip(), right = wheels.curveRight.peakSlip();
  if (left == right) {
    // Both peak together (every load's curve of one shape, or equal loads),
    // so the camber thrust is one share of load on both: the axle's peak is
    // the sum of theirs.
    const double thrust = wheels.thrustLeft * (wheels.loadLeft - wheels.loadRight);
    return {left, tyre.lateral.D * (wheels.loadLeft * tyre.peakScale(wheels.loadLeft) +
                                    wheels.loadRight * tyre.peakScale(wheels.loadRight)) +
                      side * thrust};
  }
  const auto force = [&](double slip) { return wheels.force(side, slip); };
  const double slip = largestAt(force, std::min(left, right), std::max(left, right));
  return {slip, force(slip)};
}

}  // namespace

AxlePeak axlePeak(const Tyre& tyre, double loadLeft, double loadRight, double side) {
  return peakOf(tyre, AxleWheels(tyre, loadLeft, loadRight), side);
}

double axleCapacity(const Tyre& tyre, double loadLeft, double loadRight, double side) {
  return axlePeak(tyre, loadLeft, loadRight, side).force;
}

AxleSlip axleSlipAngle(const Tyre& tyre, double loadLeft, double loadRight, double force) {
  const double side = force < 0.0 ? -1.0 : 1.0;
  const AxleWheels wheels(tyre, loadLeft, loadRight);
  const AxlePeak peak = peakOf(tyre, wheels, side);
  if (std::fabs(force) >= peak.force) return {side * peak.slip, true, peak.slip};
  // The axle's force toward `side` as the slip grows that way; the camber
  // thrusts of its two wheels nearly cancel, so it is near zero at zero slip.
  const auto sum = [&](double slip) { return wheels.force(side, slip); };
  return {side * solveIncreasing(sum, std::fabs(force), -peak.slip, peak.slip), false, peak.slip};
}

double wheelSlipRatio(const Tyre& tyre, double load, double force) {
  const double peak = tyre.longitudinal.peakSlip();
  const double side = force < 0.0 ? -1.0 : 1.0;
  const double grip = std::fabs(force) / load;
  if (grip >= tyre.longitudinal.D * tyre.peakScale(load)) return side * peak;
  return side * solveIncreasing([&](double k) { return tyre.longitudinalGrip(k, load); }, grip, 0.0, peak);
}

CorneringLimit corneringLimit(const CarSetup& car) {
  const auto margins = [&](double ay, double& front, double& rear) {
    const PerWheel n = wheelLoads(car, 0.0, ay);
    // A left turn needs force to the left, negative in the tyre's axes.
    front = axleCapacity(car.front, n[frontLeft], n[frontRight], -1.0) -
            car.totalMass * ay * car.cgToRearAxle / car.wheelbase();
    rear = axleCapacity(car.rear, n[rearLeft], n[rearRight], -1.0) -
           car.totalMass * ay * car.cgToFrontAxle / car.wheelbase();
  };
  double low = 0.0, high = 4.0 * standardGravity;
  for (int k = 0; k < 60; ++k) {
    const double mid = (low + high) / 2.0;
    double front = 0.0, rear = 0.0;
    margins(mid, front, rear);
    (front > 0.0 && rear > 0.0 ? low : high) = mid;
  }
  double front = 0.0, rear = 0.0;
  margins(high, front, rear);
  return {low, front <= rear};
}

SteadySlips steadySlips(const CarSetup& car, const PerWheel& loads, double ay) {
  const double axleForce = -car.totalMass * ay / car.wheelbase();
  return {axleSlipAngle(car.front, loads[frontLeft], loads[frontRight], axleForce * car.cgToRearAxle),
          axleSlipAngle(car.rear, loads[rearLeft], loads[rearRight], axleForce * car.cgToFrontAxle)};
}

double steadySlipDifference(const CarSetup& car, double ay) {
  const SteadySlips slips = steadySlips(car, wheelLoads(car, 0.0, ay), ay);
  return slips.front.slipDeg - slips.rear.slipDeg;
}

double understeerGradient(const CarSetup& car) {
  // Least squares over an even spread of accelerations, to the right
  // positive as the report measures them (a left turn's slip angles are
  // negative, so the difference falls as the car turns left harder).
  constexpr int steps = 40;
  double sx = 0.0, sy = 0.0, sxx = 0.0, sxy = 0.0;
  for (int k = -steps; k <= steps; ++k) {
    const double g = gradientRange * k / steps;
    const double y = steadySlipDifference(car, -g * standardGravity);
    sx += g;
    sy += y;
    sxx += g * g;
    sxy += g * y;
  }
  const double count = 2 * steps + 1;
  return (count * sxy - sx * sy) / (count * sxx - sx * sx);
}

double CarSetup::engineSpeed(int gear, double v) const {
  if (gear < 1 || static_cast<std::size_t>(gear) > gearRatios.size()) return 0.0;
  return finalDrive * gearRatios[static_cast<std::size_t>(gear - 1)] * v / tyreRadius;
}

}  // namespace skidlog::generator
