#include "tools/generator/speed_plan.h"

#include <cmath>

#include "numeric/precision.h"

namespace skidlog::generator {
namespace {

// The driver brakes harder at speed: from 4 m/s^2 standing to brakingLimit
// from 45 m/s.
double braking(double v) { return 4.0 + (brakingLimit - 4.0) * std::min(1.0, v / 45.0); }

}  // namespace

namespace {

// The share of a corner's variation that moves every corner of a lap
// together: the mean correlation of a South City session's segment times.
constexpr double sharedVariation = 0.2;
// The driver's margin under his share, per second of lap-time spread, as a
// share of the limit: measured on the generated circuit (twelve seeds).
constexpr double marginPerSecond = 0.063;

// Takes each corner of each lap a margin under its share: the margin's scale
// from the lap-time spread wanted, one part drawn for the lap and one for the
// corner, from noise of their own (so that laps without it stay as they are).
void varyLaps(std::vector<double>& shares, std::size_t corners, const DriveOptions& options) {
  Noise noise(options.seed ^ 0xC0115157E4C7ull);
  const double scale = marginPerSecond * options.consistency;
  for (std::size_t start = 0; start + corners <= shares.size(); start += corners) {
    const double lap = noise.gauss(1.0);
    for (std::size_t c = 0; c < corners; ++c) {
      const double z = std::sqrt(sharedVariation) * lap + std::sqrt(1.0 - sharedVariation) * noise.gauss(1.0);
      shares[start + c] *= 1.0 - scale * std::max(0.0, 1.5 + z);
    }
  }
}

}  // namespace

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
  if (options.consistency > 0.0) varyLaps(shares, corners.size(), options);
  return shares;
}

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

double drag(const CarSetup& car, double v) { return car.dragFactor * v * v + car.rollingResistance * car.totalMass * standardGravity; }

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

}  // namespace skidlog::generator
