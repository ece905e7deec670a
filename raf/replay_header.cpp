#include "raf/replay_header.h"

#include <cmath>

#include "numeric/precision.h"

namespace skidlog {
namespace {

WheelGeometry readGeometry(ReplayInput& input, int fileWheel) {
  const std::uint64_t record = raf::geometryOffset + raf::geometryStride * static_cast<std::uint64_t>(fileWheel);
  WheelGeometry g;
  g.offsetX = readOne<float>(input, record + raf::geometryOffsetX);
  g.offsetY = readOne<float>(input, record + raf::geometryOffsetY);
  g.offsetZ = readOne<float>(input, record + raf::geometryOffsetZ);
  g.radius = readOne<float>(input, record + raf::geometryRadius);
  readOne<float>(input, record + raf::geometryWidth);  // tyre width, not used
  return g;
}

// Seconds between samples from the interval byte in milliseconds.
float intervalSeconds(std::uint8_t milliseconds) {
  const unsigned ms = milliseconds == 0 ? raf::defaultIntervalMs : milliseconds;
  return toFloat(static_cast<double>(ms) / 1000.0);
}

}  // namespace

std::array<std::uint8_t, raf::wheelCount> assignWheelRoles(
    const std::array<WheelGeometry, raf::wheelCount>& fileOrder) {
  const std::array<std::uint8_t, raf::wheelCount> asStored = {0, 1, 2, 3};
  for (const WheelGeometry& g : fileOrder) {
    if (std::isnan(g.offsetX) || std::isnan(g.offsetY)) return asStored;
  }
  // Order the wheels by offsetY, largest first; ties keep the file order.
  std::array<std::uint8_t, raf::wheelCount> byY = asStored;
  for (std::size_t i = 1; i < byY.size(); ++i) {
    for (std::size_t j = i; j > 0 && fileOrder[byY[j]].offsetY > fileOrder[byY[j - 1]].offsetY; --j) {
      std::swap(byY[j], byY[j - 1]);
    }
  }
  if (!(fileOrder[byY[1]].offsetY > fileOrder[byY[2]].offsetY)) return asStored;

  std::array<std::uint8_t, raf::wheelCount> slot{};
  for (std::size_t axle = 0; axle < 2; ++axle) {
    const std::uint8_t a = byY[2 * axle];
    const std::uint8_t b = byY[2 * axle + 1];
    if (fileOrder[a].offsetX == fileOrder[b].offsetX) return asStored;
    const bool aIsLeft = fileOrder[a].offsetX < fileOrder[b].offsetX;
    slot[2 * axle] = aIsLeft ? a : b;
    slot[2 * axle + 1] = aIsLeft ? b : a;
  }
  return slot;
}

HeaderRecords readHeader(ReplayInput& input) {
  HeaderRecords records;
  ReplayHeader& h = records.header;
  const std::uint8_t intervalMs = readOne<std::uint8_t>(input, raf::intervalOffset);
  h.firstBlockOffset = readOne<std::uint16_t>(input, raf::firstBlockOffsetOffset);
  h.blockSize = readOne<std::uint16_t>(input, raf::blockSizeOffset);
  h.wheelBlockSize = readOne<std::uint16_t>(input, raf::wheelBlockSizeOffset);
  h.wheelBlockOffset = readOne<std::uint16_t>(input, raf::wheelBlockOffsetOffset);
  h.blockCount = readOne<std::int32_t>(input, raf::blockCountOffset);
  h.totalMass = readOne<float>(input, raf::totalMassOffset);
  h.sprungMass = readOne<float>(input, raf::sprungMassOffset);
  readOne<float>(input, raf::antiRollOffset);  // anti-roll setting, not used

  h.wheelMass = toFloat((widen(h.totalMass) - widen(h.sprungMass)) / 4.0);
  h.sampleInterval = intervalSeconds(intervalMs);

  std::array<WheelGeometry, raf::wheelCount> fileOrder;
  for (int w = 0; w < raf::wheelCount; ++w) fileOrder[static_cast<std::size_t>(w)] = readGeometry(input, w);
  h.wheelSlot = assignWheelRoles(fileOrder);
  for (std::size_t role = 0; role < fileOrder.size(); ++role) records.geometry[role] = fileOrder[h.wheelSlot[role]];
  return records;
}

}  // namespace skidlog
