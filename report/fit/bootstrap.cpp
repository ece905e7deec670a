#include "report/fit/bootstrap.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "report/fit/random.h"
#include "report/fit/statistics.h"

namespace skidlog {
namespace {

// Each replicate its own stream: the draws depend only on the seed and r.
Random replicateRandom(std::uint64_t seed, int replicate) {
  return Random(seed ^ (std::uint64_t{0x9E3779B97F4A7C15} * static_cast<std::uint64_t>(replicate + 1)));
}

}  // namespace

void drawBlocks(std::uint64_t seed, int replicate, std::span<std::uint32_t> weights) {
  std::fill(weights.begin(), weights.end(), 0u);
  Random random = replicateRandom(seed, replicate);
  const auto blocks = static_cast<std::uint32_t>(weights.size());
  for (std::uint32_t k = 0; k < blocks; ++k) ++weights[random.below(blocks)];
}

namespace {

// Replicate r of the two-stage resample: laps drawn with replacement, then
// blocks within each drawn lap.
void drawLapsAndBlocks(std::uint64_t seed, int replicate, std::span<const std::uint32_t> lapBlocks,
                       std::span<const std::uint32_t> firstBlock, std::span<std::uint32_t> weights) {
  std::fill(weights.begin(), weights.end(), 0u);
  Random random = replicateRandom(seed, replicate);
  const auto laps = static_cast<std::uint32_t>(lapBlocks.size());
  for (std::uint32_t k = 0; k < laps; ++k) {
    const std::uint32_t lap = random.below(laps);
    const std::uint32_t n = lapBlocks[lap];
    for (std::uint32_t j = 0; j < n; ++j) ++weights[firstBlock[lap] + random.below(n)];
  }
}

}  // namespace

Resamples::Resamples(std::span<const std::uint32_t> lapBlocks, std::uint64_t seed) {
  std::vector<std::uint32_t> firstBlock;
  for (const std::uint32_t n : lapBlocks) {
    firstBlock.push_back(blocks_);
    blocks_ += n;
  }
  lapsResampled_ = lapBlocks.size() > 1;
  weights_.resize(static_cast<std::size_t>(bootstrapReplicates) * blocks_);
  for (int r = 0; r < bootstrapReplicates; ++r) {
    const auto weights = std::span<std::uint32_t>(weights_).subspan(static_cast<std::size_t>(r) * blocks_, blocks_);
    if (lapsResampled_) {
      drawLapsAndBlocks(seed, r, lapBlocks, firstBlock, weights);
    } else {
      drawBlocks(seed, r, weights);
    }
  }
}

Interval interval95(std::vector<double> replicates, double value) {
  std::erase_if(replicates, [](double v) { return std::isnan(v); });
  if (replicates.empty()) return {value, value};
  std::sort(replicates.begin(), replicates.end());
  Interval i{sortedQuantile(replicates, 0.025), sortedQuantile(replicates, 0.975)};
  i.low = std::min(i.low, value);
  i.high = std::max(i.high, value);
  return i;
}

Interval basicInterval95(const std::vector<double>& replicates, double value) {
  const Interval central = interval95(replicates, std::numeric_limits<double>::quiet_NaN());
  return {2.0 * value - central.high, 2.0 * value - central.low};
}

}  // namespace skidlog
