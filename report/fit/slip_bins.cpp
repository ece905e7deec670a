#include "report/fit/slip_bins.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace skidlog {

std::uint32_t SlipBins::binOf(double x, std::uint8_t part) {
  const auto key = static_cast<std::int64_t>(std::floor(x / width_));
  // Slips move smoothly: most points fall in the bin of the point before.
  if (!keys_.empty() && keys_[last_] == key && parts_[last_] == part) return last_;
  std::optional<std::uint32_t> slip;
  for (std::size_t b = 0; b < keys_.size(); ++b) {
    if (keys_[b] != key) continue;
    if (parts_[b] == part) return last_ = static_cast<std::uint32_t>(b);
    slip = slips_[b];
  }
  keys_.push_back(key);
  parts_.push_back(part);
  slips_.push_back(slip ? *slip : slipCount_++);
  totals_.emplace_back();
  return last_ = static_cast<std::uint32_t>(keys_.size() - 1);
}

void SlipBins::joinParts(const std::vector<BinSum>& sums, std::vector<BinSum>& out) const {
  out.assign(slipCount_, BinSum{});
  for (std::size_t b = 0; b < sums.size(); ++b) out[slips_[b]].add(sums[b], 1.0);
}

void SlipBins::add(std::uint32_t block, double x, double y, double load, std::uint8_t part) {
  const std::uint32_t bin = binOf(x, part);
  const BinSum one{1.0, x, y, load};
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
