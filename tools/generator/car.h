// The generator's car: mass, geometry, its four tyres, and the steady-state
// sums that give each wheel's load and each axle's slip for a given
// acceleration. Accelerations are m/s^2, longitudinal forward positive,
// lateral left positive; tyre forces follow the replay's axes (lateral
// positive to the right, longitudinal positive driving).
#ifndef SKIDLOG_TOOLS_GENERATOR_CAR_H_
#define SKIDLOG_TOOLS_GENERATOR_CAR_H_

#include <array>
#include <vector>

#include "tools/generator/tyre.h"

namespace skidlog::generator {

inline constexpr double standardGravity = 9.81;  // m/s^2

// The wheels in the order a rear-wheel-drive car's replay stores them.
enum WheelRole { frontLeft = 0, frontRight = 1, rearLeft = 2, rearRight = 3 };
using PerWheel = std::array<double, 4>;

inline bool isFront(int w) { return w < 2; }
inline bool isLeft(int w) { return w % 2 == 0; }

// The front axle's share of the lateral load transfer the example car has.
inline constexpr double defaultFrontRollShare = 0.55;

struct CarSetup {
  double totalMass = 1150.0;   // kg
  double sprungMass = 1090.0;  // kg; the rest is the four wheels
  double cgToFrontAxle = 1.10;  // m, the car's reference point is its centre of standardGravity
  double cgToRearAxle = 1.35;   // m
  double frontTrack = 1.48;     // m
  double rearTrack = 1.46;      // m
  double cgHeight = 0.45;       // m
  double frontRollShare = defaultFrontRollShare;  // of the lateral load transfer (a share of load), taken by the front axle
  double wheelHeight = 0.15;     // m, mounting point above the car's reference point
  double tyreRadius = 0.30;      // m
  double tyreWidth = 0.205;      // m
  double steeringRatio = 15.0;   // steering input over front wheel steer
  double frontBrakeShare = 0.62;
  double springRate = 35000.0;  // N/m at each wheel
  double rollGradient = 1.5;    // degrees of body roll per g of lateral acceleration, toward the outside
  double pitchGradient = 0.8;   // degrees of body pitch per g of braking, nose down
  double power = 150e3;         // W at the driven (rear) wheels
  double dragFactor = 0.40;     // drag = dragFactor v^2, N
  double rollingResistance = 0.012;  // of the load
  // The setup the replay records (the model itself takes its springs from
  // springRate): the tyre type (5: road normal), the suspension's travel and
  // damping, the brakes, the anti-roll bars, and the gearing.
  int tyreType = 5;
  double travel = 0.10;             // m; the wheels stop at its end (the bump stop)
  double staticDeflection = 0.055;  // m, each wheel's at rest
  double bumpDamping = 3000.0;      // N s/m
  double reboundDamping = 6000.0;   // N s/m
  double frontBrakeTorque = 1200.0;  // N m
  double rearBrakeTorque = 700.0;    // N m
  double finalDrive = 4.0;
  std::vector<double> gearRatios = {3.2, 2.1, 1.6, 1.3, 1.1, 0.95};  // first to sixth
  Tyre front;
  Tyre rear;

  double wheelbase() const { return cgToFrontAxle + cgToRearAxle; }
  // The anti-roll bars the replay records, N/m at the wheel, as the front
  // share of the lateral load transfer sets them: 30000 and 20000 at 0.55,
  // and roll stiffness moved from one axle's bar to the other's at a
  // constant total (each axle's spring and bar times its track squared) for
  // another share; no bar below zero.
  double antiRollFront() const;
  double antiRollRear() const;
  double staticLoad(int w) const;  // N
  // The engine speed in gear `gear` (1 first) at road speed v, rad/s: the
  // overall ratio times the wheels' angular speed; 0 out of gear.
  double engineSpeed(int gear, double v) const;
};

// The example's car: a 1150 kg rear-wheel-drive coupe, 55 % of its weight on
// the front axle, whose rear tyres give up first at the limit although the
// fronts are the softer (a gentle understeer below it).
CarSetup exampleCar();

// The car with brush tyres (brushTyre) front and rear.
CarSetup withBrushTyres(CarSetup car);

// Each wheel's normal load in steady motion at (ax, ay), N.
PerWheel wheelLoads(const CarSetup& car, double ax, double ay);

// The slip angle, in degrees, shared by an axle's two wheels whose lateral
// forces sum to `force` N; beyond what the axle can give, the slip of its
// largest force (and `atLimit`); and that slip, positive, at these loads.
struct AxleSlip {
  double slipDeg = 0.0;
  bool atLimit = false;
  double peakSlip = 0.0;
};
AxleSlip axleSlipAngle(const Tyre& tyre, double loadLeft, double loadRight, double force);

// The largest lateral force, N, the axle gives at these loads toward `side`
// (+1 right, -1 left, in the tyre's axes), and the slip angle (degrees,
// positive) at which it gives it. The two wheels' grip peaks at slips of
// their own loads, so the axle's peak lies between them.
struct AxlePeak {
  double slip = 0.0;
  double force = 0.0;
};
AxlePeak axlePeak(const Tyre& tyre, double loadLeft, double loadRight, double side);
double axleCapacity(const Tyre& tyre, double loadLeft, double loadRight, double side);

// The slip ratio at which one wheel gives `force` N, limited to its peak.
double wheelSlipRatio(const Tyre& tyre, double load, double force);

// The steady lateral acceleration (m/s^2) at which the first axle reaches
// its largest force, and whether that is the front axle.
struct CorneringLimit {
  double lateralAcceleration = 0.0;
  bool frontFirst = false;
};
CorneringLimit corneringLimit(const CarSetup& car);

// Each axle's slip angle where its wheels carry `loads` and the car corners
// at `ay` m/s^2 (left positive) in steady motion.
struct SteadySlips {
  AxleSlip front;
  AxleSlip rear;
};
SteadySlips steadySlips(const CarSetup& car, const PerWheel& loads, double ay);

// The steady-state slip angle of the front axle less the rear's, degrees,
// cornering at `ay` m/s^2 (left positive) with no braking or driving.
double steadySlipDifference(const CarSetup& car, double ay);

// The lateral acceleration, g either way, over which the understeer gradient
// is taken: the handling diagram's linear range.
inline constexpr double gradientRange = 0.4;

// The understeer gradient, degrees of front-minus-rear slip angle per g,
// positive understeers: the slope of the least-squares line through the
// steady state's slip difference at evenly spread lateral accelerations
// over gradientRange either way, load transfer and the tyres' load
// sensitivity included, so it follows the front share of the transfer.
double understeerGradient(const CarSetup& car);

}  // namespace skidlog::generator

#endif  // SKIDLOG_TOOLS_GENERATOR_CAR_H_
