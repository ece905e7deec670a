#include "physics/wheel_series.h"

#include "physics/tyre_forces.h"
#include "physics/wheel_axes.h"
#include "physics/wheel_motion.h"

namespace skidlog {
namespace {

// For each wheel role: is it front, is it left, the wheel on the same side of
// the other axle, the other wheel of the same axle.
struct AxesWiring {
  bool isFront;
  bool isLeft;
  int sideNeighbour;
  int axleNeighbour;
};

constexpr AxesWiring wiring[raf::wheelCount] = {
    {true, true, rearLeft, frontRight},
    {true, false, rearRight, frontLeft},
    {false, true, frontLeft, rearRight},
    {false, false, frontRight, rearLeft},
};

}  // namespace

void deriveWheelSeries(Replay& replay) {
  deriveWheelSeries(replay, [](const std::function<void(std::size_t)>& job) {
    for (std::size_t w = 0; w < raf::wheelCount; ++w) job(w);
  });
}

void deriveWheelSeries(Replay& replay, const EachWheel& eachWheel) {
  WheelTracks& wheels = replay.wheels;
  eachWheel([&](std::size_t w) { computePosition(wheels[w], replay.geometry[w], replay.car); });
  eachWheel([&](std::size_t w) { computeDerivatives(wheels[w], replay.sampleTimes); });
  eachWheel([&](std::size_t w) {
    const AxesWiring& wire = wiring[w];
    computeAxes(wheels[w], wire.isFront, wire.isLeft, wheels[static_cast<std::size_t>(wire.sideNeighbour)],
                wheels[static_cast<std::size_t>(wire.axleNeighbour)]);
  });
  eachWheel([&](std::size_t w) { computeLocalVelocity(wheels[w]); });
  eachWheel([&](std::size_t w) { computeTyreForces(wheels[w], replay.car, replay.header.wheelMass); });
}

}  // namespace skidlog
