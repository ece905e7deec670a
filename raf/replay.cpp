#include "raf/replay.h"

#include <algorithm>

#include "numeric/precision.h"

namespace skidlog {
namespace {

// Bytes from the start of a sample block to the end of the last field read from it.
std::uint64_t blockExtent(const ReplayHeader& h) {
  const std::uint64_t lastWheel = std::uint64_t{h.wheelBlockOffset} + 3 * std::uint64_t{h.wheelBlockSize};
  return std::max(raf::carFieldsEnd, lastWheel + raf::wheelFieldsEnd);
}

}  // namespace

std::uint64_t heldSampleCount(const ReplayHeader& h, std::uint64_t fileSize) {
  const std::uint64_t declared = h.blockCount > 0 ? static_cast<std::uint64_t>(h.blockCount) : 0;
  const std::uint64_t firstEnd = std::uint64_t{h.firstBlockOffset} + blockExtent(h);
  if (declared == 0 || firstEnd > fileSize) return 0;
  if (h.blockSize == 0) return declared;  // every sample reads the same block
  const std::uint64_t complete = (fileSize - firstEnd) / h.blockSize + 1;
  return std::min(declared, complete);
}

void reserveSeries(Replay& replay, std::size_t n) {
  replay.sampleTimes.reserve(n);
  replay.car.reserve(n);
  for (WheelTrack& wheel : replay.wheels) wheel.reserve(n);
}

float sampleTime(std::size_t i, float sampleInterval) {
  return toFloat(static_cast<double>(i) * widen(sampleInterval));
}

void loadSamples(ReplayInput& input, const ReplayHeader& header, std::size_t n, Series<float>& sampleTimes,
                 CarTrack& car, WheelTracks& wheels) {
  std::uint64_t block = header.firstBlockOffset;
  for (std::size_t i = 0; i < n; ++i) {
    sampleTimes.push_back(sampleTime(i, header.sampleInterval));
    car.decodeCarBlock(input, block);
    const std::uint64_t subBlocks = block + header.wheelBlockOffset;
    for (std::size_t w = 0; w < wheels.size(); ++w) {
      wheels[w].decodeWheelBlock(input, subBlocks + std::uint64_t{header.wheelSlot[w]} * header.wheelBlockSize);
    }
    block += header.blockSize;
  }
}

void loadSamples(ReplayInput& input, const ReplayHeader& header, std::size_t n, Series<float>& sampleTimes,
                 CarTrack& car, WheelTracks& wheels, const EachWheel& eachWheel) {
  // A failed input delivers nothing, whatever the order: the one-pass reading keeps that.
  if (input.failed()) {
    loadSamples(input, header, n, sampleTimes, car, wheels);
    return;
  }
  std::uint64_t block = header.firstBlockOffset;
  for (std::size_t i = 0; i < n; ++i) {
    sampleTimes.push_back(sampleTime(i, header.sampleInterval));
    car.decodeCarBlock(input, block);
    block += header.blockSize;
  }
  eachWheel([&](std::size_t w) {
    ReplayInput own = input;  // each wheel its own reading position and failure flag
    std::uint64_t subBlock = std::uint64_t{header.firstBlockOffset} + header.wheelBlockOffset +
                             std::uint64_t{header.wheelSlot[w]} * header.wheelBlockSize;
    for (std::size_t i = 0; i < n; ++i) {
      wheels[w].decodeWheelBlock(own, subBlock);
      subBlock += header.blockSize;
    }
  });
}

}  // namespace skidlog
