#include "tools/generator/drive.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "numeric/precision.h"
#include "tools/generator/noise.h"

namespace skidlog::generator {
namespace {

constexpr double planSpacing = 0.5;    // m
constexpr double topSpeed = 58.0;      // m/s
constexpr double brakingLimit = 9.0;   // m/s^2 in a straight line, at speed
constexpr double pedalTime = 0.25;     // s over which the driver moves a pedal
constexpr double tractionLimit = 5.0;  // m/s^2 in a straight line
constexpr double steadyBrakeForce = 600.0;  // N of deceleration the engine gives before the brakes
constexpr double startDistance = lineDistance;
constexpr double sweeperRadius = 450.0;  // m: a bend this wide is a fast sweeper

// The driver's share of the cornering limit in each corner of each lap: all
// of it where he pushes, a little less elsewhere; through a fast sweeper he
// lifts to a steady speed a quarter of the way to the limit.
std::vector<double> cornerShares(const Circuit& circuit, std::size_t laps, Noise& noise, const DriveOptions& options) {
  const std::vector<Corner>& corners = circuit.corners();
  std::vector<double> shares;
  for (std::size_t lap = 0; lap < laps; ++lap) {
    for (std::size_t c = 0; c < corners.size(); ++c) {
      const double jitter = 0.01 * noise.gauss(1.0);
      if (corners[c].pushed) {
        shares.push_back(1.0);
      } else if (corners[c].radius >= sweeperRadius) {
        shares.push_back(0.25 + jitter);
      } else {
        shares.push_back(std::min(0.86 + 0.04 * static_cast<double>(c % 3) + jitter, 0.97));
      }
      // The share of the limit goes with the square of the speed.
      if (lap == 0 && static_cast<int>(c) == options.slowCorner) shares.back() *= options.slowSpeed * options.slowSpeed;
      if (lap == 0 && static_cast<int>(c) == options.lateBrakeCorner) {
        shares.back() *= options.lateSpeed * options.lateSpeed;
      }
    }
  }
  return shares;
}

// The corner whose arc (with its ramps) holds lap distance s, or -1.
int cornerAt(const Circuit& circuit, double s) {
  const double lap = s - std::floor(s / circuit.length()) * circuit.length();
  const std::vector<Corner>& corners = circuit.corners();
  for (std::size_t c = 0; c < corners.size(); ++c) {
    if (lap >= corners[c].start - cornerRamp / 2.0 && lap <= corners[c].end + cornerRamp / 2.0) {
      return static_cast<int>(c);
    }
  }
  return -1;
}

// The driver brakes harder at speed: from 4 m/s^2 standing to brakingLimit
// from 45 m/s.
double braking(double v) { return 4.0 + (brakingLimit - 4.0) * std::min(1.0, v / 45.0); }

double drag(const CarSetup& car, double v) { return car.dragFactor * v * v + car.rollingResistance * car.totalMass * standardGravity; }

// A centred moving average over `width` samples (shorter at the ends).
std::vector<double> smoothed(const std::vector<double>& v, std::size_t width) {
  const std::size_t half = width / 2;
  std::vector<double> sums(v.size() + 1, 0.0);
  for (std::size_t i = 0; i < v.size(); ++i) sums[i + 1] = sums[i] + v[i];
  std::vector<double> out(v.size());
  for (std::size_t i = 0; i < v.size(); ++i) {
    const std::size_t from = i >= half ? i - half : 0, to = std::min(v.size(), i + half + 1);
    out[i] = (sums[to] - sums[from]) / static_cast<double>(to - from);
  }
  return out;
}

// Speed against distance over `laps` laps, on a grid of planSpacing: the
// corner speeds, then braking (backward) and acceleration (forward) limits,
// each shared with cornering on a friction ellipse.
struct SpeedPlan {
  std::vector<double> speed;

  double at(double s) const {
    const double k = s / planSpacing;
    const auto i = std::min(static_cast<std::size_t>(k), speed.size() - 2);
    const double t = k - static_cast<double>(i);
    return speed[i] + t * (speed[i + 1] - speed[i]);
  }
};

SpeedPlan planSpeeds(const CarSetup& car, const Circuit& circuit, std::size_t laps, const std::vector<double>& shares,
                     double limit) {
  const std::size_t corners = circuit.corners().size();
  const auto n = static_cast<std::size_t>(std::ceil(static_cast<double>(laps) * circuit.length() / planSpacing)) + 2;
  std::vector<double> curvature(n);
  SpeedPlan plan;
  plan.speed.assign(n, topSpeed);
  for (std::size_t k = 0; k < n; ++k) {
    const double s = static_cast<double>(k) * planSpacing;
    curvature[k] = std::fabs(circuit.curvature(s));
    const int c = cornerAt(circuit, s);
    const auto lap = static_cast<std::size_t>(s / circuit.length());
    const double share = c < 0 ? 1.0 : shares[std::min(lap, laps - 1) * corners + static_cast<std::size_t>(c)];
    if (curvature[k] > 1e-9) plan.speed[k] = std::min(topSpeed, std::sqrt(share * limit / curvature[k]));
  }
  // Braking shares the grip with cornering on an ellipse; the driver puts the
  // power down harder, on a flatter curve, so he reaches each corner's speed.
  const auto ellipse = [&](double v, std::size_t k) {
    const double used = std::min(1.0, v * v * curvature[k] / limit);
    return std::sqrt(1.0 - used * used);
  };
  const auto traction = [&](double v, std::size_t k) {
    const double used = std::min(1.0, v * v * curvature[k] / limit);
    return std::sqrt(std::sqrt(1.0 - used * used * used * used));
  };
  for (std::size_t k = n - 1; k-- > 0;) {
    const double v = plan.speed[k + 1];
    const double decel = braking(v) * ellipse(v, k) + drag(car, v) / car.totalMass;
    plan.speed[k] = std::min(plan.speed[k], std::sqrt(v * v + 2.0 * planSpacing * decel));
  }
  for (std::size_t k = 0; k + 1 < n; ++k) {
    const double v = plan.speed[k];
    const double push = std::min(tractionLimit * traction(v, k), car.power / (car.totalMass * std::max(v, 1.0)));
    const double accel = std::max(0.0, push - drag(car, v) / car.totalMass);
    plan.speed[k + 1] = std::min(plan.speed[k + 1], std::sqrt(v * v + 2.0 * planSpacing * accel));
  }
  return plan;
}

// The slip angle the driver holds the limiting axle at in the steady part of
// every pushed corner, degrees (0 elsewhere): from just below its peak it
// rises smoothly past the peak, 20 to 35 % beyond it, and falls back.
std::vector<double> heldSlips(const Circuit& circuit, const std::vector<double>& distance,
                               double peakSlip, Noise& noise) {
  std::vector<double> extra(distance.size(), 0.0);
  std::size_t i = 0;
  while (i < distance.size()) {
    const int c = cornerAt(circuit, distance[i]);
    const double lap = distance[i] - std::floor(distance[i] / circuit.length()) * circuit.length();
    const Corner* corner = c < 0 ? nullptr : &circuit.corners()[static_cast<std::size_t>(c)];
    if (corner == nullptr || !corner->pushed || lap < corner->start + cornerRamp / 2.0 ||
        lap > corner->end - cornerRamp / 2.0) {
      ++i;
      continue;
    }
    std::size_t end = i;
    while (end < distance.size() && cornerAt(circuit, distance[end]) == c) ++end;
    // The steady part ends half a ramp before the corner does.
    std::size_t steadyEnd = i;
    while (steadyEnd < end) {
      const double d = distance[steadyEnd] - std::floor(distance[steadyEnd] / circuit.length()) * circuit.length();
      if (d > corner->end - cornerRamp / 2.0) break;
      ++steadyEnd;
    }
    const double beyond = 0.30 + 0.15 * noise.uniform();
    const std::size_t count = steadyEnd - i;
    for (std::size_t k = 0; k < count; ++k) {
      const double phase = std::sin(std::numbers::pi * static_cast<double>(k) / static_cast<double>(count));
      extra[i + k] = peakSlip * (0.9 + beyond * phase * phase);
    }
    i = end;
  }
  return extra;
}

// tan of a slip angle in the reader's degrees, and the reader's divisor.
double tanOfSlip(double slipDeg) { return std::tan(slipDeg / degreesPerRadian); }
double wholeSpeed(double v) { return std::max(1.0, std::floor(std::fabs(v))); }

// The rear axle's lateral speed (m/s, to the right) at which the reader
// measures this slip angle: atan(-lateral speed / whole part of the
// longitudinal speed), at speed v and body slip angle beta.
double rearLateralSpeed(double v, double beta, double rearSlip) {
  return -tanOfSlip(rearSlip) * wholeSpeed(v * std::cos(beta));
}

// The front axle's steer (rad) that gives it this slip angle, likewise.
double frontSteer(const CarSetup& car, double v, double r, double beta, double frontSlip) {
  const double right = -v * std::sin(beta) - r * car.cgToFrontAxle;
  const double forward = v * std::cos(beta);
  const double reach = std::hypot(right, forward);
  const double offset = std::atan2(right, forward);
  double steer = 0.0;
  for (int k = 0; k < 3; ++k) {
    const double along = -right * std::sin(steer) + forward * std::cos(steer);
    const double wanted = -tanOfSlip(frontSlip) * wholeSpeed(along);
    steer = std::asin(std::clamp(wanted / reach, -0.9, 0.9)) - offset;
  }
  return steer;
}

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

struct Motion {
  double distance;      // m
  double speed;         // m/s
  double acceleration;  // m/s^2, forward
  double curvature;     // 1/m, of the driven line
};

// Where the car is at each sample, following the plan; the speed is then
// smoothed over `smoothing` s (pedalTime: the driver does not stamp on a
// pedal; 0 for a plan that is smooth already).
std::vector<Motion> follow(const Circuit& circuit, const SpeedPlan& plan, std::size_t samples, double dt,
                           double smoothing = pedalTime) {
  std::vector<double> speed(samples);
  double s = startDistance;
  for (std::size_t i = 0; i < samples; ++i) {
    speed[i] = plan.at(s);
    const double ahead = plan.at(s + dt * speed[i]);
    s += dt * (speed[i] + ahead) / 2.0;
  }
  speed = smoothed(speed, std::max<std::size_t>(1, static_cast<std::size_t>(std::lround(smoothing / dt))));
  std::vector<Motion> m(samples);
  s = startDistance;
  for (std::size_t i = 0; i < samples; ++i) {
    m[i].distance = s;
    m[i].speed = speed[i];
    m[i].curvature = circuit.curvature(s);
    if (i + 1 < samples) s += dt * (speed[i] + speed[i + 1]) / 2.0;
  }
  for (std::size_t i = 0; i < samples; ++i) {
    const std::size_t before = i == 0 ? 0 : i - 1, after = std::min(i + 1, samples - 1);
    m[i].acceleration = after > before ? (m[after].speed - m[before].speed) / (dt * static_cast<double>(after - before)) : 0.0;
  }
  return m;
}

// The speed against distance of a motion, on the plan's grid.
SpeedPlan speedCurve(const std::vector<Motion>& motion) {
  SpeedPlan curve;
  const double last = motion.back().distance;
  std::size_t i = 0;
  for (double s = 0.0; s <= last + 1000.0; s += planSpacing) {
    while (i + 1 < motion.size() && motion[i + 1].distance <= s) ++i;
    const bool between = i + 1 < motion.size() && motion[i].distance <= s;
    const double t = between ? (s - motion[i].distance) / (motion[i + 1].distance - motion[i].distance) : 0.0;
    curve.speed.push_back(between ? motion[i].speed + t * (motion[i + 1].speed - motion[i].speed) : motion[i].speed);
  }
  return curve;
}

// Where the braking into `corner` begins on `curve`, as a grid index: where
// the speed last stops rising before the corner.
std::size_t brakingStart(const SpeedPlan& curve, const Corner& corner) {
  auto k = std::min(static_cast<std::size_t>(corner.start / planSpacing), curve.speed.size() - 1);
  while (k > 0 && curve.speed[k - 1] > curve.speed[k]) --k;
  return k;
}

// The motion with its braking into the first lap's corner
// options.lateBrakeCorner begun at `braking` m instead: the speed is held
// from where the braking began until there, and every speed of the braking
// that follows (the pedals already smoothed) comes that much later, into the
// corner too.
std::vector<Motion> brakeLater(const std::vector<Motion>& motion, const Circuit& circuit, const DriveOptions& options,
                               double braking, double dt) {
  const Corner& c = circuit.corners()[static_cast<std::size_t>(options.lateBrakeCorner)];
  const SpeedPlan before = speedCurve(motion);
  SpeedPlan curve = before;
  const std::size_t fastest = brakingStart(curve, c);
  const double shift = braking - static_cast<double>(fastest) * planSpacing;
  for (std::size_t k = fastest; k < curve.speed.size() && static_cast<double>(k) * planSpacing <= c.end; ++k) {
    const double s = static_cast<double>(k) * planSpacing;
    const double later = s <= braking ? before.speed[fastest] : before.at(s - shift);
    curve.speed[k] = std::max(curve.speed[k], later);
  }
  return follow(circuit, curve, motion.size(), dt, 0.0);
}

// Where the car is at each sample: following the driver's plan, and where he
// brakes late into a corner, braking options.lateBrakeMetres after where he
// would for the speed he takes it at otherwise.
std::vector<Motion> driveThrough(const CarSetup& car, const Circuit& circuit, const DriveOptions& options,
                                 std::size_t samples, std::size_t laps, Noise& driver) {
  const double lateral = corneringLimit(car).lateralAcceleration;
  Noise normalDriver = driver;
  const SpeedPlan plan = planSpeeds(car, circuit, laps, cornerShares(circuit, laps, driver, options), lateral);
  std::vector<Motion> motion = follow(circuit, plan, samples, options.sampleInterval);
  const auto late = static_cast<std::size_t>(options.lateBrakeCorner);
  if (options.lateBrakeCorner < 0 || late >= circuit.corners().size() || motion.empty()) return motion;
  DriveOptions normal = options;
  normal.lateBrakeCorner = -1;
  const SpeedPlan normalPlan =
      planSpeeds(car, circuit, laps, cornerShares(circuit, laps, normalDriver, normal), lateral);
  const SpeedPlan normalCurve = speedCurve(follow(circuit, normalPlan, samples, options.sampleInterval));
  const double braking = static_cast<double>(brakingStart(normalCurve, circuit.corners()[late])) * planSpacing;
  return brakeLater(motion, circuit, options, braking + options.lateBrakeMetres, options.sampleInterval);
}

// Each sample's steady state: the wheels' loads from the car's accelerations
// and each axle's slip angle from the lateral force it must give; the axle
// that gives up first is held at the driver's overdriven slip.
struct SteadyState {
  std::vector<PerWheel> loads;    // N, without the road's bumps
  std::vector<double> frontSlip;  // degrees
  std::vector<double> rearSlip;
};

SteadyState steadyState(const CarSetup& car, const std::vector<Motion>& motion, const CorneringLimit& limit,
                        const std::vector<double>& extra) {
  const std::size_t samples = motion.size();
  SteadyState st{std::vector<PerWheel>(samples), std::vector<double>(samples), std::vector<double>(samples)};
  for (std::size_t i = 0; i < samples; ++i) {
    const Motion& m = motion[i];
    const double ay = m.speed * m.speed * m.curvature;
    const PerWheel& load = st.loads[i] = wheelLoads(car, m.acceleration, ay);
    const double axleForce = -car.totalMass * ay / car.wheelbase();
    st.frontSlip[i] = axleSlipAngle(car.front, load[frontLeft], load[frontRight], axleForce * car.cgToRearAxle).slipDeg;
    st.rearSlip[i] = axleSlipAngle(car.rear, load[rearLeft], load[rearRight], axleForce * car.cgToFrontAxle).slipDeg;
    double& overdriven = limit.frontFirst ? st.frontSlip[i] : st.rearSlip[i];
    if (std::fabs(overdriven) < extra[i]) overdriven = (overdriven < 0.0 ? -1.0 : 1.0) * extra[i];
  }
  return st;
}

// The body's slip angle beta, rad, at each sample. The yaw rate is the line's
// less the change of beta. The rear axle's lateral speed is b r - v sin(beta)
// and must be the one its slip angle asks for; with r = v k - beta' that is
// b beta' = b v k - u - v sin(beta), integrated forward (implicitly: it is
// stiff at speed).
std::vector<double> bodySlip(const CarSetup& car, const std::vector<Motion>& motion,
                             const std::vector<double>& rearSlip, double dt) {
  std::vector<double> beta(motion.size(), 0.0);
  for (std::size_t i = 0; i < motion.size(); ++i) {
    const double v = std::max(motion[i].speed, 1.0), k = motion[i].curvature, b = car.cgToRearAxle;
    const double previous = i == 0 ? 0.0 : beta[i - 1];
    const double lateral = rearLateralSpeed(v, previous, rearSlip[i]);
    if (i == 0) {
      beta[i] = std::asin(std::clamp((b * v * k - lateral) / v, -0.9, 0.9));
    } else {
      const double c = std::cos(previous), sn = std::sin(previous);
      beta[i] = (previous + dt * (b * v * k - lateral - v * sn + v * c * previous) / b) / (1.0 + dt * v * c / b);
    }
  }
  return beta;
}

// The front axle's steer, rad, at each sample: what the yaw rate, the body's
// slip and the front slip angle ask for.
std::vector<double> axleSteers(const CarSetup& car, const std::vector<Motion>& motion, const std::vector<double>& beta,
                               const std::vector<double>& frontSlip, double dt) {
  const std::size_t samples = motion.size();
  std::vector<double> axleSteer(samples);
  for (std::size_t i = 0; i < samples; ++i) {
    const std::size_t before = i == 0 ? 0 : i - 1, after = std::min(i + 1, samples - 1);
    double rate = motion[i].speed * motion[i].curvature;
    if (after > before) rate -= (beta[after] - beta[before]) / (dt * static_cast<double>(after - before));
    axleSteer[i] = frontSteer(car, std::max(motion[i].speed, 1.0), rate, beta[i], frontSlip[i]);
  }
  return axleSteer;
}

// One wheel's state at a sample of load `load` (bumps included) and steady
// load `steadyLoad`, N.
WheelState wheelState(const CarSetup& car, int w, double load, double steadyLoad, double slipAngle, double force,
                      double axleSteer, double roll) {
  WheelState s;
  const Tyre& tyre = isFront(w) ? car.front : car.rear;
  const double sign = isLeft(w) ? 1.0 : -1.0;
  s.load = load;
  s.slipAngle = slipAngle;
  s.slipRatio = wheelSlipRatio(tyre, std::max(load, 100.0), force * load / std::max(steadyLoad, 100.0));
  // Toe, and Ackermann: the inside front wheel steers a little more.
  const double delta = axleSteer;
  s.steer = isFront(w) ? delta * (1.0 + sign * 0.5 * delta) + sign * 0.0015 : sign * 0.001;
  s.deflection = 0.055 + (load - car.staticLoad(w)) / car.springRate;
  s.lean = sign * 0.012 + roll * 0.5;
  return s;
}

// How far to the right of the line the driver runs at lap distance `s` (from
// the circuit's start, first lap only), m: out of options.wideCorner, easing
// out from its start to options.wideMetres at its middle and back by its end.
double wideBy(const Circuit& circuit, double s, const DriveOptions& options) {
  if (options.wideCorner < 0 || static_cast<std::size_t>(options.wideCorner) >= circuit.corners().size()) return 0.0;
  const Corner& corner = circuit.corners()[static_cast<std::size_t>(options.wideCorner)];
  if (s <= corner.start || s >= corner.end) return 0.0;
  const double phase = std::sin(std::numbers::pi * (s - corner.start) / (corner.end - corner.start));
  return (corner.left ? 1.0 : -1.0) * options.wideMetres * phase * phase;
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
    c.roll = -car.rollGradient * ay;
    c.pitch = 0.004 * m.acceleration + circuit.slope(m.distance);
    c.speed = m.speed;
    c.steeringInput = car.steeringRatio * axleSteer[i];
    c.gear = 1 + std::min(5, static_cast<int>(m.speed / 11.0));
    const PerWheel bumps = road.next(car);
    const Drivetrain d = drivetrain(car, st.loads[i], m.speed, m.acceleration);
    c.throttle = d.throttle;
    c.brake = d.brake;
    for (int w = 0; w < 4; ++w) {
      const auto k = static_cast<std::size_t>(w);
      const double slip = isFront(w) ? st.frontSlip[i] : st.rearSlip[i];
      c.wheels[k] = wheelState(car, w, st.loads[i][k] + bumps[k], st.loads[i][k], slip, d.force[k], axleSteer[i], c.roll);
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
  const Tyre& limiting = limit.frontFirst ? car.front : car.rear;
  const std::vector<double> extra = heldSlips(circuit, distance, limiting.lateral.peakSlip(), driver);
  // Steady state at every sample, then the body's slip angle with the yaw
  // rate its own change over time takes away, then the steer.
  const SteadyState st = steadyState(car, motion, limit, extra);
  const std::vector<double> beta = bodySlip(car, motion, st.rearSlip, dt);
  const std::vector<double> axleSteer = axleSteers(car, motion, beta, st.frontSlip, dt);
  return carStates(car, circuit, motion, st, beta, axleSteer, options);
}

}  // namespace skidlog::generator
