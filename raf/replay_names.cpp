#include "raf/replay_names.h"

#include <algorithm>

#include "raf/lap_splits.h"

namespace skidlog {
namespace {

std::string field(std::span<const std::byte> file, std::size_t offset, std::size_t width) {
  if (offset >= file.size()) return {};
  const std::span<const std::byte> bytes = file.subspan(offset, std::min(width, file.size() - offset));
  const auto end = std::find(bytes.begin(), bytes.end(), std::byte{0});
  std::string text;
  for (auto it = bytes.begin(); it != end; ++it) text.push_back(static_cast<char>(*it));
  return text;
}

}  // namespace

ReplayNames readReplayNames(std::span<const std::byte> file) {
  ReplayNames names;
  names.player = field(file, 32, 32);
  names.car = field(file, 64, 32);
  names.track = field(file, 96, 32);
  names.layout = field(file, 128, 16);
  names.splitsMs = readLapSplits(file);
  names.setup = readReplaySetup(file, wheelSlotsOf(file));
  return names;
}

}  // namespace skidlog
