// The tyre force estimate: the file's wheel force turned into world axes plus
// the wheel's own mass term, split along the wheel's axes.
#ifndef SKIDLOG_PHYSICS_TYRE_FORCES_H_
#define SKIDLOG_PHYSICS_TYRE_FORCES_H_

#include "raf/tracks.h"

namespace skidlog {

// World gravity, m/s^2; -9.81 is stored as the nearest float.
inline constexpr Vector3 gravity(0.0f, 0.0f, -9.81f);

// Appends normalLoad, longitudinalForce and lateralForce per sample, N.
// `wheelMass` x (acceleration - gravity) is added to the file's force.
// REQUIRES: the wheel's acceleration and axes are complete.
void computeTyreForces(WheelTrack& wheel, const CarTrack& car, float wheelMass);

}  // namespace skidlog

#endif  // SKIDLOG_PHYSICS_TYRE_FORCES_H_
