#include "tools/generator/drive.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "numeric/precision.h"
#include "tools/generator/driver_motion.h"
#include "tools/generator/noise.h"
#include "tools/generator/speed_plan.h"
#include "tools/generator/steady_state.h"

namespace skidlog::generator {
namespace {

constexpr double steadyBrakeForce = 600.0;  // N of deceleration the engine gives before the brakes

// Each wheel's longitudinal force (driving positive), and the pedals.
struct Drivetrain {
  PerWheel force{};
  double throttle = 0.0;
  double brake = 0.0;
};

Drivetrain drivetrain(const CarSetup& car, const PerWheel& load, double v, double ax) {
  Drivetrain d;
  const double needed = car.totalMass * ax + drag(car, v) - car.rollingResistance * car.totalMass * standardGravity;
  const double frontLoad = load[frontLeft] + load[frontRight], rearLoad = load[rearLeft] + load[rearRight];
  if (needed >= -steadyBrakeForce) {
    // The rear wheels drive (or hold the engine's braking); the fronts roll.
    for (int w = 0; w < 2; ++w) d.force[static_cast<std::size_t>(w)] = -car.rollingResistance * load[static_cast<std::size_t>(w)];
    const double rear = needed + car.rollingResistance * frontLoad;
    for (int w = 2; w < 4; ++w) d.force[static_cast<std::size_t>(w)] = rear * load[static_cast<std::size_t>(w)] / rearLoad;
    d.throttle = std::clamp(rear * std::max(v, 5.0) / car.power, 0.0, 1.0);
    return d;
  }
  for (int w = 0; w < 4; ++w) {
    const auto k = static_cast<std::size_t>(w);
    d.force[k] = isFront(w) ? needed * car.frontBrakeShare * load[k] / frontLoad
                            : needed * (1.0 - car.frontBrakeShare) * load[k] / rearLoad;
  }
  d.brake = std::clamp(-needed / (car.totalMass * brakingLimit), 0.0, 1.0);
  return d;
}

// Bumps in the road: smooth load noise on every wheel, and now and then a
// kerb under one side of the car.
class Road {
 public:
  Road(const CarSetup& car, std::uint64_t seed, double dt) : kerbs_(seed ^ 0x6b657262ull), dt_(dt) {
    for (int w = 0; w < 4; ++w) {
      bumps_.emplace_back(seed * 4 + static_cast<std::uint64_t>(w) + 11, 0.035 * car.staticLoad(w), 0.85);
    }
  }

  // Extra load on each wheel at the next sample, N.
  PerWheel next(const CarSetup& car) {
    PerWheel extra{};
    if (kerbLeft_ == 0 && kerbs_.uniform() < dt_ / 15.0) {
      kerbLeft_ = kerbSamples;
      kerbSide_ = kerbs_.uniform() < 0.5;
    }
    for (int w = 0; w < 4; ++w) {
      const auto k = static_cast<std::size_t>(w);
      extra[k] = bumps_[k].next();
      if (kerbLeft_ > 0 && isLeft(w) == kerbSide_) {
        const double phase = std::sin(std::numbers::pi * static_cast<double>(kerbLeft_) / (kerbSamples + 1));
        extra[k] += 0.4 * car.staticLoad(w) * phase;
      }
    }
    if (kerbLeft_ > 0) --kerbLeft_;
    return extra;
  }

 private:
  static constexpr int kerbSamples = 6;
  std::vector<SmoothNoise> bumps_;
  Noise kerbs_;
  double dt_;
  int kerbLeft_ = 0;
  bool kerbSide_ = false;
};

// One wheel's state at a sample of load `load` (bumps included) and steady
// load `steadyLoad`, N.
WheelState wheelState(const CarSetup& car, int w, double load, double steadyLoad, double slipAngle, double force,
                      double axleSteer, double roll, double deflection) {
  WheelState s;
  const Tyre& tyre = isFront(w) ? car.front : car.rear;
  const double sign = isLeft(w) ? 1.0 : -1.0;
  s.load = load;
  s.slipAngle = slipAngle;
  s.slipRatio = wheelSlipRatio(tyre, std::max(load, 100.0), force * load / std::max(steadyLoad, 100.0));
  // Toe, and Ackermann: the inside front wheel steers a little more.
  const double delta = axleSteer;
  s.steer = isFront(w) ? delta * (1.0 + sign * 0.5 * delta) + sign * 0.0015 : sign * 0.001;
  s.deflection = deflection;
  s.lean = sign * 0.012 + roll * 0.5;
  return s;
}

// Each wheel's suspension deflection, m: the body's roll toward the outside
// of the turn and its pitch, nose down under braking, both about the centre of
// gravity, and the road's bumps through the springs; never beyond the
// suspension's travel. `ay` left positive and `ax` forward, m/s^2.
PerWheel deflections(const CarSetup& car, double ay, double ax, const PerWheel& bumps) {
  constexpr double radiansPerDegree = std::numbers::pi / 180.0;
  // Left side down in a right-hander, and the nose down under braking.
  const double leftDown = std::tan(car.rollGradient * radiansPerDegree * -ay / standardGravity);
  const double noseDown = std::tan(car.pitchGradient * radiansPerDegree * -ax / standardGravity);
  PerWheel d{};
  for (int w = 0; w < 4; ++w) {
    const double halfTrack = (isFront(w) ? car.frontTrack : car.rearTrack) / 2.0;
    const double lever = isFront(w) ? car.cgToFrontAxle : -car.cgToRearAxle;
    const double compressed = car.staticDeflection + (isLeft(w) ? halfTrack : -halfTrack) * leftDown + lever * noseDown +
                              bumps[static_cast<std::size_t>(w)] / car.springRate;
    d[static_cast<std::size_t>(w)] = std::clamp(compressed, 0.0, car.travel);
  }
  return d;
}

// The car's state at every sample, the road's bumps on the steady loads.
std::vector<CarState> carStates(const CarSetup& car, const Circuit& circuit, const std::vector<Motion>& motion,
                                const SteadyState& st, const std::vector<double>& beta,
                                const std::vector<double>& axleSteer, const DriveOptions& options) {
  std::vector<CarState> states(motion.size());
  Road road(car, options.seed, options.sampleInterval);
  for (std::size_t i = 0; i < motion.size(); ++i) {
    const Motion& m = motion[i];
    CarState& c = states[i];
    const Pose pose = circuit.pose(m.distance);
    const double ay = m.speed * m.speed * m.curvature;
    // Wider at one corner's apex: out to the right of a left-hander.
    const double out = wideBy(circuit, m.distance, options);
    c.x = pose.x + out * std::cos(pose.heading);
    c.y = pose.y + out * std::sin(pose.heading);
    c.z = circuit.altitude(m.distance);
    c.heading = pose.heading - beta[i];
    c.roll = -car.rollGradient * std::numbers::pi / 180.0 * ay / standardGravity;
    c.pitch = car.pitchGradient * std::numbers::pi / 180.0 * m.acceleration / standardGravity + circuit.slope(m.distance);
    c.speed = m.speed;
    c.steeringInput = car.steeringRatio * axleSteer[i];
    c.gear = 1 + std::min(5, static_cast<int>(m.speed / 11.0));
    const PerWheel bumps = road.next(car);
    const PerWheel deflection = deflections(car, ay, m.acceleration, bumps);
    const Drivetrain d = drivetrain(car, st.loads[i], m.speed, m.acceleration);
    c.throttle = d.throttle;
    c.brake = d.brake;
    for (int w = 0; w < 4; ++w) {
      const auto k = static_cast<std::size_t>(w);
      const double slip = isFront(w) ? st.frontSlip[i] : st.rearSlip[i];
      c.wheels[k] = wheelState(car, w, st.loads[i][k] + bumps[k], st.loads[i][k], slip, d.force[k], axleSteer[i], c.roll,
                              deflection[k]);
    }
  }
  return states;
}

}  // namespace

std::vector<CarState> drive(const CarSetup& car, const Circuit& circuit, const DriveOptions& options,
                            std::vector<double>* lineDistances) {
  const double dt = options.sampleInterval;
  // A whole lap takes less than its length at 5 m/s.
  const double seconds = options.wholeLap ? circuit.length() / 5.0 : options.seconds;
  auto samples = static_cast<std::size_t>(std::lround(seconds / dt));
  if (samples == 0) return {};
  Noise driver(options.seed);
  const std::size_t laps = static_cast<std::size_t>(seconds * topSpeed / circuit.length()) + 2;
  const CorneringLimit limit = corneringLimit(car);
  std::vector<Motion> motion = driveThrough(car, circuit, options, samples, laps, driver);
  if (options.wholeLap) {
    samples = 0;
    while (samples < motion.size() && motion[samples].distance < startDistance + circuit.length()) ++samples;
    motion.resize(samples);
  }
  std::vector<double> distance(samples);
  for (std::size_t i = 0; i < samples; ++i) distance[i] = motion[i].distance;
  if (lineDistances != nullptr) {
    lineDistances->clear();
    for (const double d : distance) lineDistances->push_back(d - startDistance);
  }
  const std::vector<double> held = heldSlips(circuit, distance, driver);
  // Steady state at every sample, then the body's slip angle with the yaw
  // rate its own change over time takes away, then the steer.
  const SteadyState st = steadyState(car, motion, limit, held);
  const std::vector<double> beta = bodySlip(car, motion, st.rearSlip, dt);
  const std::vector<double> axleSteer = axleSteers(car, motion, beta, st.frontSlip, dt);
  return carStates(car, circuit, motion, st, beta, axleSteer, options);
}

}  // namespace skidlog::generator

