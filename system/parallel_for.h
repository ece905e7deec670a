// A loop over independent jobs spread over the machine's cores.
#ifndef SKIDLOG_SYSTEM_PARALLEL_FOR_H_
#define SKIDLOG_SYSTEM_PARALLEL_FOR_H_

#include <functional>

namespace skidlog {

// Runs job(k) for k = 0 .. count - 1, spread over the machine's cores (at
// most four). Jobs must not depend on each other's order.
void parallelFor(int count, const std::function<void(int)>& job);

}  // namespace skidlog

#endif  // SKIDLOG_SYSTEM_PARALLEL_FOR_H_
