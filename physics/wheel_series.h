// The derived wheel series of a loaded replay, stage by stage.
#ifndef SKIDLOG_PHYSICS_WHEEL_SERIES_H_
#define SKIDLOG_PHYSICS_WHEEL_SERIES_H_

#include "raf/replay.h"

namespace skidlog {

// Fills wheel series 7 to 16 of all four wheels. Each stage runs for wheels
// 0 to 3 before the next starts, since the axes of a wheel need the positions
// of its neighbours. REQUIRES: the replay's samples are loaded.
void deriveWheelSeries(Replay& replay);

}  // namespace skidlog

#endif  // SKIDLOG_PHYSICS_WHEEL_SERIES_H_
