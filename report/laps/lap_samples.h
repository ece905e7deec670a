// What the laps and corners need of a replay: the split times its header
// records and the car's path and speed at every sample.
#ifndef SKIDLOG_REPORT_LAPS_LAP_SAMPLES_H_
#define SKIDLOG_REPORT_LAPS_LAP_SAMPLES_H_

#include <cstdint>
#include <vector>

#include "raf/replay.h"

namespace skidlog {

struct LapSamples {
  std::vector<std::int32_t> splitsMs;  // the header's split times, the lap time last
  std::vector<float> x;      // world position, m
  std::vector<float> y;
  std::vector<float> speed;  // m/s

  bool recorded() const { return !splitsMs.empty(); }
};

// The lap of a loaded replay whose header records `splitsMs`.
LapSamples lapSamples(const Replay& replay, std::vector<std::int32_t> splitsMs);

}  // namespace skidlog

#endif  // SKIDLOG_REPORT_LAPS_LAP_SAMPLES_H_
