#include "tools/generator/driver_motion.h"

#include <algorithm>
#include <cmath>

#include "tools/generator/speed_plan.h"

namespace skidlog::generator {
namespace {

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

// The plan at the driver's pace: every speed of it that share.
SpeedPlan atPace(SpeedPlan plan, double pace) {
  for (double& v : plan.speed) v *= pace;
  return plan;
}

}  // namespace

std::vector<Motion> driveThrough(const CarSetup& car, const Circuit& circuit, const DriveOptions& options,
                                 std::size_t samples, std::size_t laps, Noise& driver) {
  const double lateral = corneringLimit(car).lateralAcceleration;
  Noise normalDriver = driver;
  const SpeedPlan plan =
      atPace(planSpeeds(car, circuit, laps, cornerShares(circuit, laps, driver, options), lateral), options.pace);
  std::vector<Motion> motion = follow(circuit, plan, samples, options.sampleInterval);
  const auto late = static_cast<std::size_t>(options.lateBrakeCorner);
  if (options.lateBrakeCorner < 0 || late >= circuit.corners().size() || motion.empty()) return motion;
  DriveOptions normal = options;
  normal.lateBrakeCorner = -1;
  const SpeedPlan normalPlan =
      atPace(planSpeeds(car, circuit, laps, cornerShares(circuit, laps, normalDriver, normal), lateral), options.pace);
  const SpeedPlan normalCurve = speedCurve(follow(circuit, normalPlan, samples, options.sampleInterval));
  const double braking = static_cast<double>(brakingStart(normalCurve, circuit.corners()[late])) * planSpacing;
  return brakeLater(motion, circuit, options, braking + options.lateBrakeMetres, options.sampleInterval);
}

double wideBy(const Circuit& circuit, double s, const DriveOptions& options) {
  if (options.wideCorner < 0 || static_cast<std::size_t>(options.wideCorner) >= circuit.corners().size()) return 0.0;
  const Corner& corner = circuit.corners()[static_cast<std::size_t>(options.wideCorner)];
  if (s <= corner.start || s >= corner.end) return 0.0;
  const double phase = std::sin(std::numbers::pi * (s - corner.start) / (corner.end - corner.start));
  return (corner.left ? 1.0 : -1.0) * options.wideMetres * phase * phase;
}

}  // namespace skidlog::generator
