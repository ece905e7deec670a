// The driver's plan: the share of the cornering limit he takes in each corner
// of each lap, and the speed against distance that follows from it, as fast
// as grip and power allow.
#ifndef SKIDLOG_TOOLS_GENERATOR_SPEED_PLAN_H_
#define SKIDLOG_TOOLS_GENERATOR_SPEED_PLAN_H_

#include <algorithm>
#include <cstddef>
#include <vector>

#include "tools/generator/car.h"
#include "tools/generator/circuit.h"
#include "tools/generator/drive.h"
#include "tools/generator/noise.h"

namespace skidlog::generator {

inline constexpr double planSpacing = 0.5;      // m
inline constexpr double topSpeed = 58.0;        // m/s
inline constexpr double brakingLimit = 9.0;     // m/s^2 in a straight line, at speed
inline constexpr double tractionLimit = 5.0;    // m/s^2 in a straight line
inline constexpr double sweeperRadius = 450.0;  // m: a bend this wide is a fast sweeper

// The driver's share of the cornering limit in each corner of each lap: all
// of it where he pushes, a little less elsewhere; through a fast sweeper he
// lifts to a steady speed a quarter of the way to the limit.
std::vector<double> cornerShares(const Circuit& circuit, std::size_t laps, Noise& noise, const DriveOptions& options);

// The corner whose arc (with its ramps) holds lap distance s, or -1.
int cornerAt(const Circuit& circuit, double s);

// The drag and rolling resistance at speed v, N.
double drag(const CarSetup& car, double v);

// A centred moving average over `width` samples (shorter at the ends).
std::vector<double> smoothed(const std::vector<double>& v, std::size_t width);

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

// The speed plan of `laps` laps with these corner shares; `limit` is the
// car's lateral limit, m/s^2.
SpeedPlan planSpeeds(const CarSetup& car, const Circuit& circuit, std::size_t laps, const std::vector<double>& shares,
                     double limit);

}  // namespace skidlog::generator

#endif  // SKIDLOG_TOOLS_GENERATOR_SPEED_PLAN_H_
