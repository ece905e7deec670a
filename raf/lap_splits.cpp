#include "raf/lap_splits.h"

#include "raf/read_at.h"

namespace skidlog {

std::vector<std::int32_t> readLapSplits(std::span<const std::byte> file) {
  ReplayInput input(file);
  const std::uint8_t count = readOne<std::uint8_t>(input, raf::splitCountOffset);
  if (count == 0 || count > raf::maxSplits) return {};
  std::int32_t splits[raf::maxSplits] = {};
  readAt(input, raf::splitsOffset, splits, count);
  if (input.failed()) return {};
  std::vector<std::int32_t> kept;
  for (std::size_t k = 0; k < count; ++k) {
    if (splits[k] <= 0 || (k > 0 && splits[k] <= splits[k - 1])) return {};
    kept.push_back(splits[k]);
  }
  return kept;
}

}  // namespace skidlog
