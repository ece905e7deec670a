#include "tools/generator/steady_state.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "numeric/precision.h"
#include "tools/generator/speed_plan.h"

namespace skidlog::generator {
namespace {

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

}  // namespace

std::vector<double> heldSlips(const Circuit& circuit, const std::vector<double>& distance, Noise& noise) {
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
      extra[i + k] = 0.9 + beyond * phase * phase;
    }
    i = end;
  }
  return extra;
}

SteadyState steadyState(const CarSetup& car, const std::vector<Motion>& motion, const CorneringLimit& limit,
                        const std::vector<double>& held) {
  const std::size_t samples = motion.size();
  SteadyState st{std::vector<PerWheel>(samples), std::vector<double>(samples), std::vector<double>(samples)};
  for (std::size_t i = 0; i < samples; ++i) {
    const Motion& m = motion[i];
    const double ay = m.speed * m.speed * m.curvature;
    const PerWheel& load = st.loads[i] = wheelLoads(car, m.acceleration, ay);
    const SteadySlips slips = steadySlips(car, load, ay);
    st.frontSlip[i] = slips.front.slipDeg;
    st.rearSlip[i] = slips.rear.slipDeg;
    double& overdriven = limit.frontFirst ? st.frontSlip[i] : st.rearSlip[i];
    const double slip = held[i] * (limit.frontFirst ? slips.front : slips.rear).peakSlip;
    if (std::fabs(overdriven) < slip) overdriven = (overdriven < 0.0 ? -1.0 : 1.0) * slip;
  }
  return st;
}

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

}  // namespace skidlog::generator
