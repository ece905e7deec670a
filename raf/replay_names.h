// The texts a replay's header holds: who drove which car where; and the car's
// setup it records. Each text is a zero-padded field that is not always
// zero-terminated; the bytes are kept as the simulator wrote them, in its own
// escaped encoding.
//
//   32  32 bytes  player name      64  32 bytes  car
//   96  32 bytes  track           128  16 bytes  track layout
#ifndef SKIDLOG_RAF_REPLAY_NAMES_H_
#define SKIDLOG_RAF_REPLAY_NAMES_H_

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "raf/replay_setup.h"

namespace skidlog {

struct ReplayNames {
  std::string player;
  std::string car;
  std::string track;
  std::string layout;
  std::vector<std::int32_t> splitsMs;  // the lap's split times (readLapSplits); empty where none
  ReplaySetup setup;                   // the car's setup, its wheels by role
};

// The raw text of the header field of `width` bytes at `offset` up to its
// first zero byte; cut where the file ends, empty where it holds none of it.
std::string headerText(std::span<const std::byte> file, std::size_t offset, std::size_t width);

// The raw text of each field up to its first zero byte, the split times and
// the setup.
// A field the file does not hold (or holds in part) is empty (or cut where the
// file ends).
ReplayNames readReplayNames(std::span<const std::byte> file);

}  // namespace skidlog

#endif  // SKIDLOG_RAF_REPLAY_NAMES_H_
