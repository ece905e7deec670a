// What a group's replays say of the car's platform, gathered block by block
// (the blocks the resampling draws): the sums of the straight lines the roll,
// the axles' load transfer and the pitch make against the car's acceleration,
// and per wheel its largest deflection, its time at the end of its travel and
// how fast its damper moves. Whole laps and resamples are sums of blocks.
//
// The roll is the body's angle to the road from the deflections, per axle
// (left - right) / track, the two axles' mean, in degrees (a few degrees, at
// which an angle and its tangent agree to 0.1 %): positive with the left side
// down, which is toward the outside of a right-hand turn (the lateral
// acceleration is positive to the right). The pitch is (front - rear) /
// wheelbase of the axles' mean deflections: positive nose down. An axle's
// transfer is its left wheel's load less its right's.
#ifndef SKIDLOG_REPORT_ANALYSIS_PLATFORM_PLATFORM_SAMPLES_H_
#define SKIDLOG_REPORT_ANALYSIS_PLATFORM_PLATFORM_SAMPLES_H_

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "raf/replay.h"
#include "raf/replay_setup.h"
#include "report/fit/line_sums.h"

namespace skidlog {

// The lines fitted against the car's acceleration.
enum PlatformLine : std::size_t {
  rollLine,           // roll, degrees, against lateral acceleration, g, within linearRoll
  frontTransferLine,  // front transfer, N, against lateral acceleration
  rearTransferLine,   // rear transfer, N, against lateral acceleration
  pitchLine,          // pitch, degrees, against longitudinal acceleration, g
  platformLineCount,
};

// The roll line's range, g either way: beyond it the outer wheels reach
// their bump stops and the inner ones unload, and the body rolls less for
// each g (on real laps the slope through every sample is 2 to 3 % lower and
// moves with the track's corners). The gradient is the springs' and bars'.
inline constexpr double linearRoll = 1.0;

// The damper's velocity, mm/s, positive in bump (compressing): slow within
// damperKnee either way, fast beyond.
enum DamperQuadrant : std::size_t { bumpSlow, bumpFast, reboundSlow, reboundFast, damperQuadrantCount };
inline constexpr double damperKnee = 50.0;  // mm/s
// The histogram's bins: damperBinWidth wide from -damperRange to
// +damperRange, and one open bin beyond each end, so every sample counts.
inline constexpr double damperBinWidth = 25.0;  // mm/s
inline constexpr double damperRange = 500.0;    // mm/s
inline constexpr std::size_t damperBins = 2 * 20 + 2;
// The longest sample interval at which a deflection's velocity is measured:
// at 100 ms a damper's stroke is over between two samples.
inline constexpr double longestDamperInterval = 0.02;  // s
// Within this share of the travel from its end, a wheel is at the end.
inline constexpr double travelEndShare = 0.02;
// A travel recorded as less than this, m, is no suspension's.
inline constexpr double shortestTravel = 0.001;

// Whether a recorded travel is a suspension's.
inline bool travelRecorded(float travel) {
  return std::isfinite(travel) && static_cast<double>(travel) >= shortestTravel;
}

struct WheelBlock {
  // The largest deflection on the road as a share of the travel; -1 where
  // none, or where the travel is not recorded.
  float largestShare = -1.0f;
  std::uint32_t atEnd = 0;     // samples within travelEndShare of the travel's end
  std::array<std::uint32_t, damperQuadrantCount> quadrant{};  // samples with a measured damper velocity
};

struct PlatformBlock {
  std::array<LineSums, platformLineCount> lines;
  std::array<WheelBlock, raf::wheelCount> wheels;

  // Adds `other` drawn `times` times.
  void add(const PlatformBlock& other, std::uint32_t times);
};

// One replay: its blocks in the group's numbering and what its setup and
// geometry give.
struct PlatformLap {
  std::uint32_t firstBlock = 0;
  std::uint32_t blocks = 0;
  double interval = 0.0;  // s
  std::array<float, raf::wheelCount> travel{};  // m, from the setup; NaN where not recorded
  bool geometryKnown = false;  // the tracks and wheelbase are sound, so roll and pitch are measured
  bool dampersMeasured = false;  // recorded at longestDamperInterval or finer
};

// Sums over the samples in one bin of lateral acceleration, for the charts.
struct LateralBin {
  double count = 0.0, lateral = 0.0, roll = 0.0, frontTransfer = 0.0, rearTransfer = 0.0;
};
inline constexpr double lateralBinWidth = 0.05;  // g
// Bins from -largestDrivingAcceleration to +largestDrivingAcceleration: beyond
// it a sample is a crash or a reset, not driving, and would outweigh a lap of
// corners in a straight line's sums.
inline constexpr double largestDrivingAcceleration = 4.0;  // g
inline constexpr std::size_t lateralBins = 2 * 80;

// The platform sample by sample over a group's replays, for the corners'
// phases: NaN (or for the travel's end, unknownEnd) where not measured.
struct PlatformChannels {
  static constexpr std::uint8_t unknownEnd = 2;
  std::vector<float> roll;           // degrees, positive left side down
  std::vector<float> frontTransfer;  // N, the front axle's left load less its right
  std::vector<float> rearTransfer;   // N
  std::array<std::vector<std::uint8_t>, raf::wheelCount> atTravelEnd;  // 1 within travelEndShare of it, else 0
  std::array<std::vector<float>, raf::wheelCount> damperVelocity;      // mm/s, positive in bump
};

struct PlatformSamples {
  std::vector<PlatformLap> laps;
  std::vector<PlatformBlock> blocks;        // numbered over the group's replays
  // Bin k from (k - lateralBins / 2) x lateralBinWidth g.
  std::array<LateralBin, lateralBins> bins{};
  std::array<std::array<std::uint64_t, damperBins>, raf::wheelCount> damperCounts{};
  PlatformChannels channels;

  // The sums over the blocks a replicate draws, `weights[b]` times block b.
  PlatformBlock drawn(std::span<const std::uint32_t> weights) const;
  // The sums over a lap's blocks.
  PlatformBlock lap(const PlatformLap& lap) const;
  // Gives back the room its series took to grow replay by replay.
  void shrinkToFit();
};

// The damper histogram's bin of a velocity, mm/s.
std::size_t damperBin(double velocity);
// The lower edge of bin b, mm/s; the first bin's is -infinity.
double damperEdge(std::size_t b);

// Where a replay starts in its group's numbering.
struct PlatformNumbering {
  std::uint32_t firstSample = 0;  // in the accelerations
  std::uint32_t firstBlock = 0;
  std::uint32_t blocks = 0;       // the replay's
  std::size_t samplesPerBlock = 1;
};

// Appends a replay to `into`. `lateral` and `longitudinal` are its group's
// accelerations, g, in which the replay starts at numbering.firstSample.
// REQUIRES: the replay's wheel series are derived.
void appendPlatformSamples(const Replay& replay, const ReplaySetup& setup, std::span<const float> lateral,
                           std::span<const float> longitudinal, const PlatformNumbering& numbering,
                           PlatformSamples& into);

}  // namespace skidlog

#endif  // SKIDLOG_REPORT_ANALYSIS_PLATFORM_PLATFORM_SAMPLES_H_
