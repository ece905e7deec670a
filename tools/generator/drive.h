// The driver and the car's motion. The driver plans each lap's speed as fast
// as grip and power allow, with a margin in most corners and none in the
// pushed ones, and in those briefly overdrives the axle that gives up first.
// The car follows the plan in steady state: each wheel's load from the car's
// accelerations, each axle's slip angle from the lateral force it must give,
// the body's slip angle and the steer from those slip angles as the replay's
// reader will measure them.
#ifndef SKIDLOG_TOOLS_GENERATOR_DRIVE_H_
#define SKIDLOG_TOOLS_GENERATOR_DRIVE_H_

#include <array>
#include <cstdint>
#include <vector>

#include "tools/generator/car.h"
#include "tools/generator/circuit.h"

namespace skidlog::generator {

struct DriveOptions {
  double seconds = 60.0;
  double sampleInterval = 0.01;  // s
  std::uint64_t seed = 1;        // the driver's lap-to-lap variation and the road's bumps
  // One whole lap from the line instead of `seconds`: the last sample is the
  // last before the car crosses the line again.
  bool wholeLap = false;
  // The corner (index into the circuit's corners, -1 none) the driver takes
  // slower on the first lap, at this share of the speed he would.
  int slowCorner = -1;
  double slowSpeed = 0.9;
  // The corner (-1 none) the driver brakes into this many metres later on
  // the first lap: the whole braking moves on by that much, the car carries
  // the speed that follows into the corner, and, in too fast, takes the rest
  // of it at lateSpeed of the speed he would.
  int lateBrakeCorner = -1;
  double lateBrakeMetres = 0.0;
  double lateSpeed = 0.95;
  // The corner (-1 none) whose apex the driver runs wider by this many metres
  // on the first lap, the line easing out and back over the corner.
  int wideCorner = -1;
  double wideMetres = 0.0;
  // A driver's lap-to-lap variation, as the standard deviation of his lap
  // time over laps, s (0: the laps vary only by the corners' small jitter).
  // Each corner is taken a little under the share of the limit he would,
  // by a margin of its own and one that moves every corner of the lap
  // together (a faster lap is faster everywhere); braking and throttle
  // places follow the corner's speed.
  double consistency = 0.0;
  // The driver's pace: every speed of his plan this share of the plan's
  // (0.97 is 3 % slower everywhere, so his laps take 1/0.97 as long).
  double pace = 1.0;
};

// The line is this far into the circuit's lap distance, m.
inline constexpr double lineDistance = 60.0;

struct WheelState {
  double load = 0.0;        // N, road bumps included
  double slipAngle = 0.0;   // degrees, as the reader measures it
  double slipRatio = 0.0;   // as the reader measures it
  double steer = 0.0;       // rad, toe and Ackermann included
  double deflection = 0.0;  // m, positive when compressed
  double lean = 0.0;        // rad
};

struct CarState {
  double x = 0.0, y = 0.0, z = 0.0;              // m, the centre of gravity
  double heading = 0.0, roll = 0.0, pitch = 0.0;  // rad; heading 0 faces +y
  double speed = 0.0;                            // m/s
  double throttle = 0.0, brake = 0.0;            // 0 to 1
  double steeringInput = 0.0;                    // rad at the steering wheel, positive left
  int gear = 1;                                  // 1 is first
  std::array<WheelState, 4> wheels;
};

// One state per sample for options.seconds (or the whole lap); `distance`,
// when given, receives each sample's distance from the line, m.
std::vector<CarState> drive(const CarSetup& car, const Circuit& circuit, const DriveOptions& options,
                            std::vector<double>* distance = nullptr);

}  // namespace skidlog::generator

#endif  // SKIDLOG_TOOLS_GENERATOR_DRIVE_H_
