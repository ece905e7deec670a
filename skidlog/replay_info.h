// What a replay's header says, read without loading its samples: who drove
// which car where (as the simulator shows the names), how often it was
// sampled, how many samples it holds and declares, its lap's split times and
// the car's setup.
#ifndef SKIDLOG_SKIDLOG_REPLAY_INFO_H_
#define SKIDLOG_SKIDLOG_REPLAY_INFO_H_

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "raf/replay_setup.h"
#include "skidlog/skidlog.h"

namespace skidlog {

struct ReplayInfo {
  std::string player;  // UTF-8, as the simulator shows it
  std::string car;
  std::string track;
  std::string layout;
  float sampleInterval = 0.0f;         // s
  std::uint64_t samples = 0;           // the sample blocks the file holds completely
  std::uint64_t declaredSamples = 0;   // the header's count (0 when not positive)
  std::vector<std::int32_t> splitsMs;  // the lap's split times, the lap time last; empty where none
  ReplaySetup setup;                   // the car's setup, its wheels by role (its weather as recorded)
};

// Reads the header of the replay file `path` into `info`. A file that cannot
// be opened or read, or is too short to be a replay, is reported on
// `messages` as loading it would report it (exit 2 or 4).
ExitCode readReplayInfo(const std::string& path, ReplayInfo& info, std::ostream& messages);

}  // namespace skidlog

#endif  // SKIDLOG_SKIDLOG_REPLAY_INFO_H_
