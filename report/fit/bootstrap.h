// The block bootstrap behind every interval of the report. Neighbouring
// samples are not independent (a corner lasts seconds), so the report
// resamples blocks of three seconds of consecutive samples, with replacement,
// and refits; the spread of the refits is the spread of the estimate. Shorter
// blocks cut a corner into pieces that are not independent, and give
// intervals too narrow to hold the next lap's value.
#ifndef SKIDLOG_REPORT_FIT_BOOTSTRAP_H_
#define SKIDLOG_REPORT_FIT_BOOTSTRAP_H_

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace skidlog {

inline constexpr int bootstrapReplicates = 200;
inline constexpr double blockSeconds = 3.0;
// A longer recording (over 3000 s) is cut into this many longer blocks: as
// good a resample, at a fraction of the cost.
inline constexpr std::size_t maxBlocksPerReplay = 1000;

// Replicate r's weights: as many draws as there are blocks, with replacement;
// weights[b] counts the draws of block b. The draws depend only on the seed
// and r, so replicates may run in any order, on any thread.
void drawBlocks(std::uint64_t seed, int replicate, std::span<std::uint32_t> weights);

// Every replicate's weights for a group's blocks, drawn once and handed to
// every estimate (the wheels, the axles, the balance), so that all of them
// are refitted to the same resamples.
//
// A group of one lap resamples its blocks (drawBlocks). A group of two or
// more laps resamples in two stages, so that its intervals hold what another
// lap of the same tyre would give: as many laps as it holds are drawn with
// replacement, then each drawn lap's blocks are drawn within it, as many as
// it has.
class Resamples {
 public:
  Resamples() = default;
  // bootstrapReplicates replicates of the blocks of laps holding lapBlocks[l]
  // blocks each, numbered lap after lap, drawn from `seed`.
  Resamples(std::span<const std::uint32_t> lapBlocks, std::uint64_t seed);

  std::uint32_t blocks() const { return blocks_; }
  // Whether whole laps are resampled as well as blocks.
  bool lapsResampled() const { return lapsResampled_; }
  // Replicate r's weights: entry b counts the draws of block b.
  std::span<const std::uint32_t> weights(int replicate) const {
    return std::span<const std::uint32_t>(weights_).subspan(static_cast<std::size_t>(replicate) * blocks_, blocks_);
  }

 private:
  std::uint32_t blocks_ = 0;
  bool lapsResampled_ = false;
  std::vector<std::uint32_t> weights_;  // replicate by replicate
};

struct Interval {
  double low = 0.0;
  double high = 0.0;
};

// The central 95 % of the replicates' values (NaNs left out), widened where
// needed to hold `value`, the estimate itself.
Interval interval95(std::vector<double> replicates, double value);

// The basic bootstrap interval: the central 95 % of the replicates reflected
// about the estimate, [2 value - high, 2 value - low]. For a statistic whose
// replicates lean to one side of the estimate by the resampling itself (a
// slope within narrow bins, where a resample's repeated blocks leave fewer
// distinct corners in each bin), the lean is the estimate's own bias, and the
// reflected interval corrects it where the percentile interval doubles it.
Interval basicInterval95(const std::vector<double>& replicates, double value);

}  // namespace skidlog

#endif  // SKIDLOG_REPORT_FIT_BOOTSTRAP_H_
