#include "raf/replay_names.h"

#include <algorithm>

#include "raf/lap_splits.h"

namespace skidlog {

std::string headerText(std::span<const std::byte> file, std::size_t offset, std::size_t width) {
  if (offset >= file.size()) return {};
  const std::span<const std::byte> bytes = file.subspan(offset, std::min(width, file.size() - offset));
  const auto end = std::find(bytes.begin(), bytes.end(), std::byte{0});
  std::string text;
  for (auto it = bytes.begin(); it != end; ++it) text.push_back(static_cast<char>(*it));
  return text;
}

ReplayNames readReplayNames(std::span<const std::byte> file) {
  ReplayNames names;
  names.player = headerText(file, 32, 32);
  names.car = headerText(file, 64, 32);
  names.track = headerText(file, 96, 32);
  names.layout = headerText(file, 128, 16);
  names.splitsMs = readLapSplits(file);
  names.setup = readReplaySetup(file, wheelSlotsOf(file));
  return names;
}

}  // namespace skidlog
