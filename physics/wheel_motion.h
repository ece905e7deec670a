// World position of each wheel's reference point, and its velocity and
// acceleration by finite differences over the sample times.
#ifndef SKIDLOG_PHYSICS_WHEEL_MOTION_H_
#define SKIDLOG_PHYSICS_WHEEL_MOTION_H_

#include "raf/replay_header.h"
#include "raf/tracks.h"

namespace skidlog {

// Appends one position per car sample: the mounting point in the car's axes,
// moved along the car's z axis by the suspension deflection minus the radius.
// REQUIRES: the wheel's suspensionDeflection holds as many entries as the car's position.
void computePosition(WheelTrack& wheel, const WheelGeometry& geometry, const CarTrack& car);

// Fills velocity from position, then acceleration from velocity: central
// differences inside, one-sided at both ends; a single sample gets (0, 0, 0).
// REQUIRES: sampleTimes holds as many entries as the wheel's position.
void computeDerivatives(WheelTrack& wheel, const Series<float>& sampleTimes);

// d(series)/dt appended to `out`, one entry per entry of `series`.
void differentiate(const Series<Vector3>& series, const Series<float>& times, Series<Vector3>& out);

}  // namespace skidlog

#endif  // SKIDLOG_PHYSICS_WHEEL_MOTION_H_
