// One replay of a report as its group keeps it: where it came from, who drove
// which car where, where its samples lie in the group's series, and what the
// laps and the page need of its samples.
#ifndef SKIDLOG_REPORT_ANALYSIS_REPLAY_SUMMARY_H_
#define SKIDLOG_REPORT_ANALYSIS_REPLAY_SUMMARY_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "raf/replay_setup.h"

#include "raf/replay.h"
#include "report/analysis/tyres/tyre_points.h"

namespace skidlog {

// What the laps and corners need of a replay: the split times its header
// records and the car's path and speed at every sample.
struct LapSamples {
  std::vector<std::int32_t> splitsMs;  // the header's split times, the lap time last
  std::vector<float> x;      // world position, m
  std::vector<float> y;
  std::vector<float> speed;  // m/s
  std::vector<float> throttle;  // 0 to 1 as recorded (a damaged file may hold anything)
  std::vector<float> brake;
  std::vector<float> steerDeg;  // steering input, degrees, positive to the left
  std::vector<float> gear;      // -1 reverse, 0 neutral, 1 first, ...
  std::vector<float> engineSpeed;  // rad/s

  bool recorded() const { return !splitsMs.empty(); }
};

// The lap of a loaded replay whose header records `splitsMs`.
LapSamples lapSamples(const Replay& replay, std::vector<std::int32_t> splitsMs);

struct ReplaySummary {
  std::string file;    // as given on the command line
  std::string player;  // UTF-8, as the simulator shows it
  std::string car;
  std::string track;
  std::string layout;
  std::size_t samples = 0;
  std::size_t firstSample = 0;  // its first sample in its group's series
  float interval = 0.0f;  // s between samples, as the replay gives it
  ReplayTrace trace;  // empty when no page is written
  LapSamples lap;     // empty when the header records no split times
  ReplaySetup setup;  // the car's setup the replay records

  double seconds() const { return static_cast<double>(samples) * static_cast<double>(interval); }
};

}  // namespace skidlog

#endif  // SKIDLOG_REPORT_ANALYSIS_REPLAY_SUMMARY_H_
