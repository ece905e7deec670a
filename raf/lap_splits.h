// The split times a replay's header records for its lap. One file holds one
// lap from the start line; the simulator stores the time at each split point
// and, as the last split, the lap time.
//
//  171  u8       number of split times (the lap time included), 1 to 4
//  172  4 x i32  split times in ms from the start, the last one the lap time
#ifndef SKIDLOG_RAF_LAP_SPLITS_H_
#define SKIDLOG_RAF_LAP_SPLITS_H_

#include <cstdint>
#include <span>
#include <vector>

namespace skidlog {

namespace raf {
inline constexpr std::uint64_t splitCountOffset = 171;
inline constexpr std::uint64_t splitsOffset = 172;
inline constexpr std::size_t maxSplits = 4;
}  // namespace raf

// The header's split times in ms, the lap time last; empty where the header
// holds none or holds a damaged record: a count of 0 or above four, or a
// split that is not positive or not later than the one before.
std::vector<std::int32_t> readLapSplits(std::span<const std::byte> file);

}  // namespace skidlog

#endif  // SKIDLOG_RAF_LAP_SPLITS_H_
