#include "report/fit/slip_bins.h"

#include <algorithm>
#include <cmath>

namespace skidlog {

std::uint32_t SlipBins::binOf(double x) {
  const auto key = static_cast<std::int64_t>(std::floor(x / width_));
  // Slips move smoothly: most points fall in the bin of the point before.
  if (!keys_.empty() && keys_[last_] == key) return last_;
  for (std::size_t b = 0; b < keys_.size(); ++b) {
    if (keys_[b] == key) return last_ = static_cast<std::uint32_t>(b);
  }
  keys_.push_back(key);
  totals_.emplace_back();
  return last_ = static_cast<std::uint32_t>(keys_.size() - 1);
}

void SlipBins::add(std::uint32_t block, double x, double y, double load) {
  const std::uint32_t bin = binOf(x);
  const double kN = load / 1000.0;
  const BinSum one{1.0, x, y, load, kN * kN, kN * y};
  totals_[bin].add(one, 1.0);
  ++points_;
  // One entry per bin a block's points touch: the slip wanders back and forth
  // across bin edges, so the block's entries are searched (a few dozen at most).
  const bool sameBlock = !runs_.empty() && runs_.back().block == block;
  if (sameBlock) {
    for (std::size_t e = entries_.size(); e-- > runs_.back().first;) {
      if (entries_[e].bin == bin) {
        entries_[e].sum.add(one, 1.0);
        return;
      }
    }
  } else {
    runs_.push_back({block, static_cast<std::uint32_t>(entries_.size())});
  }
  entries_.push_back({bin, one});
}

void SlipBins::resample(std::span<const std::uint32_t> weights, std::vector<BinSum>& out) const {
  out.assign(totals_.size(), BinSum{});
  // A resample leaves about a third of the blocks out: their entries are skipped.
  for (std::size_t r = 0; r < runs_.size(); ++r) {
    const std::uint32_t times = weights[runs_[r].block];
    if (times == 0) continue;
    const std::size_t end = r + 1 < runs_.size() ? runs_[r + 1].first : entries_.size();
    for (std::size_t e = runs_[r].first; e < end; ++e) out[entries_[e].bin].add(entries_[e].sum, times);
  }
}

}  // namespace skidlog
