// The report's random numbers and their seed: the same replays give the same
// intervals on every platform.
#ifndef SKIDLOG_REPORT_FIT_RANDOM_H_
#define SKIDLOG_REPORT_FIT_RANDOM_H_

#include <cstdint>

#include "numeric/split_mix.h"

namespace skidlog {

// The seed of every report's resampling.
inline constexpr std::uint64_t reportSeed = 0x5EED5EED2026ull;

using Random = SplitMix64;

}  // namespace skidlog

#endif  // SKIDLOG_REPORT_FIT_RANDOM_H_
