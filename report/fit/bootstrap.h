// The block bootstrap behind every interval of the report. Neighbouring
// samples are not independent (a corner lasts seconds), so the report
// resamples blocks of one second of consecutive samples, with replacement,
// and refits; the spread of the refits is the spread of the estimate.
#ifndef SKIDLOG_REPORT_FIT_BOOTSTRAP_H_
#define SKIDLOG_REPORT_FIT_BOOTSTRAP_H_

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace skidlog {

inline constexpr int bootstrapReplicates = 200;
inline constexpr double blockSeconds = 1.0;
// A longer recording (over 1000 s) is cut into this many longer blocks: as
// good a resample, at a fraction of the cost.
inline constexpr std::size_t maxBlocksPerReplay = 1000;

// Replicate r's weights: as many draws as there are blocks, with replacement;
// weights[b] counts the draws of block b. The draws depend only on the seed
// and r, so replicates may run in any order, on any thread.
void drawBlocks(std::uint64_t seed, int replicate, std::span<std::uint32_t> weights);

struct Interval {
  double low = 0.0;
  double high = 0.0;
};

// The central 95 % of the replicates' values (NaNs left out), widened where
// needed to hold `value`, the estimate itself.
Interval interval95(std::vector<double> replicates, double value);

// Runs job(k) for k = 0 .. count - 1, spread over the machine's cores (at
// most four). Jobs must not depend on each other's order.
void parallelFor(int count, const std::function<void(int)>& job);

// Runs job(w) for the four wheels on the machine's cores: an EachWheel for
// loading and deriving a replay.
void eachWheelOnCores(const std::function<void(std::size_t)>& job);

}  // namespace skidlog

#endif  // SKIDLOG_REPORT_FIT_BOOTSTRAP_H_
