// Each wheel's lateral, longitudinal and normal axes from the positions of the
// wheel and two neighbours, turned by its steer angle, and its velocity in them.
#ifndef SKIDLOG_PHYSICS_WHEEL_AXES_H_
#define SKIDLOG_PHYSICS_WHEEL_AXES_H_

#include "raf/tracks.h"

namespace skidlog {

// Scales v to unit length: the length in double, compared unrounded with 0,
// then rounded before taking the float reciprocal. A zero or NaN length gives (0, 0, 0).
Vector3 normalised(const Vector3& v);

// Turns v as the row vector v * R about the world z axis, R = [c s 0; -s c 0; 0 0 1];
// each component formed in double with all three products, rounded once.
Vector3 turned(const Vector3& v, float c, float s);

// Appends the wheel's three axes per sample. `sideNeighbour` is the wheel on the
// same side of the other axle, `axleNeighbour` the other wheel of the same axle.
// REQUIRES: every wheel's position series is complete.
void computeAxes(WheelTrack& wheel, bool isFront, bool isLeft, const WheelTrack& sideNeighbour,
                 const WheelTrack& axleNeighbour);

// Appends the wheel's velocity in its own axes: x lateral, y longitudinal, z normal.
void computeLocalVelocity(WheelTrack& wheel);

}  // namespace skidlog

#endif  // SKIDLOG_PHYSICS_WHEEL_AXES_H_
