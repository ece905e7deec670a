// The car's steady state along its motion: each wheel's load from its
// accelerations, each axle's slip angle from the lateral force it must give
// (the axle that gives up first held at the driver's overdriven slip), the
// body's slip angle and the front axle's steer, as the replay's reader will
// measure them.
#ifndef SKIDLOG_TOOLS_GENERATOR_STEADY_STATE_H_
#define SKIDLOG_TOOLS_GENERATOR_STEADY_STATE_H_

#include <vector>

#include "tools/generator/car.h"
#include "tools/generator/circuit.h"
#include "tools/generator/driver_motion.h"
#include "tools/generator/noise.h"

namespace skidlog::generator {

// The slip angle the driver holds the limiting axle at in the steady part of
// every pushed corner, as a share of the axle's peak slip at its loads there
// (0 elsewhere): from just below the peak it rises smoothly past it, 20 to
// 35 % beyond it, and falls back.
std::vector<double> heldSlips(const Circuit& circuit, const std::vector<double>& distance, Noise& noise);

// Each sample's steady state: the wheels' loads from the car's accelerations
// and each axle's slip angle from the lateral force it must give; the axle
// that gives up first is held at the driver's overdriven slip.
struct SteadyState {
  std::vector<PerWheel> loads;    // N, without the road's bumps
  std::vector<double> frontSlip;  // degrees
  std::vector<double> rearSlip;
};

// The steady state of every sample of `motion`; `held` is heldSlips'.
SteadyState steadyState(const CarSetup& car, const std::vector<Motion>& motion, const CorneringLimit& limit,
                        const std::vector<double>& held);

// The body's slip angle beta, rad, at each sample. The yaw rate is the line's
// less the change of beta. The rear axle's lateral speed is b r - v sin(beta)
// and must be the one its slip angle asks for; with r = v k - beta' that is
// b beta' = b v k - u - v sin(beta), integrated forward (implicitly: it is
// stiff at speed).
std::vector<double> bodySlip(const CarSetup& car, const std::vector<Motion>& motion,
                             const std::vector<double>& rearSlip, double dt);

// The front axle's steer, rad, at each sample: what the yaw rate, the body's
// slip and the front slip angle ask for.
std::vector<double> axleSteers(const CarSetup& car, const std::vector<Motion>& motion, const std::vector<double>& beta,
                               const std::vector<double>& frontSlip, double dt);

}  // namespace skidlog::generator

#endif  // SKIDLOG_TOOLS_GENERATOR_STEADY_STATE_H_
