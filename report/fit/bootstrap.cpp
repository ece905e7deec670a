#include "report/fit/bootstrap.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <thread>

#include "raf/raf_format.h"
#include "report/fit/random.h"

namespace skidlog {
namespace {

// The p-th quantile of sorted values, linear between order statistics.
double sortedQuantile(const std::vector<double>& sorted, double p) {
  const double at = p * static_cast<double>(sorted.size() - 1);
  const auto below = static_cast<std::size_t>(std::floor(at));
  const std::size_t above = std::min(below + 1, sorted.size() - 1);
  return sorted[below] + (at - static_cast<double>(below)) * (sorted[above] - sorted[below]);
}

}  // namespace

void drawBlocks(std::uint64_t seed, int replicate, std::span<std::uint32_t> weights) {
  std::fill(weights.begin(), weights.end(), 0u);
  Random random(seed ^ (std::uint64_t{0x9E3779B97F4A7C15} * static_cast<std::uint64_t>(replicate + 1)));
  const auto blocks = static_cast<std::uint32_t>(weights.size());
  for (std::uint32_t k = 0; k < blocks; ++k) ++weights[random.below(blocks)];
}

Resamples::Resamples(std::uint32_t blocks, std::uint64_t seed)
    : blocks_(blocks), weights_(static_cast<std::size_t>(bootstrapReplicates) * blocks) {
  for (int r = 0; r < bootstrapReplicates; ++r) {
    drawBlocks(seed, r, std::span<std::uint32_t>(weights_).subspan(static_cast<std::size_t>(r) * blocks, blocks));
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

void parallelFor(int count, const std::function<void(int)>& job) {
  const unsigned cores = std::clamp(std::thread::hardware_concurrency(), 1u, 4u);
  std::atomic<int> next{0};
  const auto work = [&] {
    for (int r = next++; r < count; r = next++) job(r);
  };
  std::vector<std::thread> helpers;
  for (unsigned t = 1; t < cores && static_cast<int>(t) < count; ++t) helpers.emplace_back(work);
  work();
  for (std::thread& h : helpers) h.join();
}

void eachWheelOnCores(const std::function<void(std::size_t)>& job) {
  parallelFor(raf::wheelCount, [&](int w) { job(static_cast<std::size_t>(w)); });
}

}  // namespace skidlog
