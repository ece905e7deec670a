// The derived wheel series of a loaded replay, stage by stage.
#ifndef SKIDLOG_PHYSICS_WHEEL_SERIES_H_
#define SKIDLOG_PHYSICS_WHEEL_SERIES_H_

#include <cstddef>
#include <functional>

#include "raf/replay.h"

namespace skidlog {

// Fills wheel series 7 to 16 of all four wheels. Each stage runs for wheels
// 0 to 3 before the next starts, since the axes of a wheel need the positions
// of its neighbours. REQUIRES: the replay's samples are loaded.
void deriveWheelSeries(Replay& replay);

// The same, each stage's wheels run by `eachWheel`; the series are the same
// to the bit.
void deriveWheelSeries(Replay& replay, const EachWheel& eachWheel);

}  // namespace skidlog

#endif  // SKIDLOG_PHYSICS_WHEEL_SERIES_H_
