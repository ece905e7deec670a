// How the car goes round: where it is at each sample, following the driver's
// speed plan, with his variations on the first lap (braking later into a
// corner, a wider line through one).
#ifndef SKIDLOG_TOOLS_GENERATOR_DRIVER_MOTION_H_
#define SKIDLOG_TOOLS_GENERATOR_DRIVER_MOTION_H_

#include <cstddef>
#include <vector>

#include "tools/generator/car.h"
#include "tools/generator/circuit.h"
#include "tools/generator/drive.h"
#include "tools/generator/noise.h"

namespace skidlog::generator {

inline constexpr double pedalTime = 0.25;  // s over which the driver moves a pedal
inline constexpr double startDistance = lineDistance;

struct Motion {
  double distance;      // m
  double speed;         // m/s
  double acceleration;  // m/s^2, forward
  double curvature;     // 1/m, of the driven line
};

// Where the car is at each sample: following the driver's plan, and where he
// brakes late into a corner, braking options.lateBrakeMetres after where he
// would for the speed he takes it at otherwise.
std::vector<Motion> driveThrough(const CarSetup& car, const Circuit& circuit, const DriveOptions& options,
                                 std::size_t samples, std::size_t laps, Noise& driver);

// How far to the right of the line the driver runs at lap distance `s` (from
// the circuit's start, first lap only), m: out of options.wideCorner, easing
// out from its start to options.wideMetres at its middle and back by its end.
double wideBy(const Circuit& circuit, double s, const DriveOptions& options);

}  // namespace skidlog::generator

#endif  // SKIDLOG_TOOLS_GENERATOR_DRIVER_MOTION_H_
