#include "report/fit/slip_bins.h"

#include <algorithm>
#include <cmath>

namespace skidlog {

std::uint32_t SlipBins::binOf(double x) {
  const auto key = static_cast<std::int64_t>(std::floor(x / width_));
  // Slips move smoothly: most points fall in the bin of the point before.
  if (!keys_.empty() && keys_[last_] == key) return last_;
  const auto found = std::find(keys_.begin(), keys_.end(), key);
  last_ = static_cast<std::uint32_t>(found - keys_.begin());
  if (found == keys_.end()) {
    keys_.push_back(key);
    totals_.emplace_back();
  }
  return last_;
}

void SlipBins::add(std::uint32_t block, double x, double y, double load) {
  const std::uint32_t bin = binOf(x);
  const BinSum one{1.0, x, y, load};
  totals_[bin].add(one, 1.0);
  ++points_;
  if (!entries_.empty() && entries_.back().block == block && entries_.back().bin == bin) {
    entries_.back().sum.add(one, 1.0);
  } else {
    entries_.push_back({block, bin, one});
  }
}

void SlipBins::resample(std::span<const std::uint32_t> weights, std::vector<BinSum>& out) const {
  out.assign(totals_.size(), BinSum{});
  for (const Entry& e : entries_) {
    if (const std::uint32_t times = weights[e.block]; times != 0) out[e.bin].add(e.sum, times);
  }
}

}  // namespace skidlog
