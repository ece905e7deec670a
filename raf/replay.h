// One replay in memory (header, geometry, sample times, car and wheel series)
// and the loading of its sample blocks.
#ifndef SKIDLOG_RAF_REPLAY_H_
#define SKIDLOG_RAF_REPLAY_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>

#include "raf/raf_format.h"
#include "raf/read_at.h"
#include "raf/replay_header.h"
#include "raf/tracks.h"

namespace skidlog {

using WheelTracks = std::array<WheelTrack, raf::wheelCount>;
using WheelGeometries = std::array<WheelGeometry, raf::wheelCount>;

struct Replay {
  ReplayHeader header;
  WheelGeometries geometry;  // indexed by wheel role
  Series<float> sampleTimes;  // s
  CarTrack car;
  WheelTracks wheels;  // indexed by wheel role

  std::size_t sampleCount() const { return sampleTimes.size(); }
};

// Memory every series of a replay needs per sample, bytes.
inline constexpr std::size_t bytesPerSample =
    sizeof(float) + CarTrack::bytesPerSample + raf::wheelCount * WheelTrack::bytesPerSample;

// The header's sample count (blockCount when positive, else 0) limited to the
// sample blocks the file holds completely: every car field and every wheel
// sub-block that is read lies inside the file.
std::uint64_t heldSampleCount(const ReplayHeader& header, std::uint64_t fileSize);

// Reserves room for n samples in every series of the replay, derived ones too.
// May throw std::bad_alloc.
void reserveSeries(Replay& replay, std::size_t n);

// The time of sample i: i times the sample interval, formed in double and
// rounded once, never accumulated.
float sampleTime(std::size_t i, float sampleInterval);

// Decodes sample blocks 0 to n - 1 into sampleTimes, every car series and
// wheel series 0 to 6. Wheel track w reads the sub-block header.wheelSlot[w].
void loadSamples(ReplayInput& input, const ReplayHeader& header, std::size_t n, Series<float>& sampleTimes,
                 CarTrack& car, WheelTracks& wheels);

// Runs job(w) for every wheel w, in any order or at once: within a stage no
// wheel's job reads what another's writes.
using EachWheel = std::function<void(const std::function<void(std::size_t)>& job)>;

// The same, each wheel's sub-blocks decoded by `eachWheel` after the car
// fields; the series are the same to the bit. REQUIRES: n is at most
// heldSampleCount, so every read lies inside the input and none depends on
// another's order.
void loadSamples(ReplayInput& input, const ReplayHeader& header, std::size_t n, Series<float>& sampleTimes,
                 CarTrack& car, WheelTracks& wheels, const EachWheel& eachWheel);

}  // namespace skidlog

#endif  // SKIDLOG_RAF_REPLAY_H_
