#include "report/analysis/platform/platform_samples.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "csv/wheel_row.h"
#include "numeric/precision.h"
#include "system/parallel_for.h"

namespace skidlog {
namespace {

// `v` grown to `size` entries of `value`, its room by a quarter at least: the
// channels grow replay by replay and are kept to the end, where doubling
// would carry up to as much again unused.
template <class T>
void grownTo(std::vector<T>& v, std::size_t size, T value) {
  if (size > v.capacity()) v.reserve(std::max(size, v.capacity() + v.capacity() / 4));
  v.resize(size, value);
}

// 180 / pi, not the CSV's historical degreesPerRadian (180 / 3.1416).
constexpr double radiansToDegrees = 180.0 / std::numbers::pi;
// Loads beyond this, N, are a damaged sample's.
constexpr double largestLoad = 1e6;
constexpr double shortestTrack = 0.1;      // m
constexpr double shortestWheelbase = 0.5;  // m

// The tracks and wheelbase of a replay's wheels, m; NaN where the geometry
// is not a car's.
struct Span {
  double frontTrack = std::numeric_limits<double>::quiet_NaN();
  double rearTrack = std::numeric_limits<double>::quiet_NaN();
  double wheelbase = std::numeric_limits<double>::quiet_NaN();

  bool known() const { return frontTrack >= shortestTrack && rearTrack >= shortestTrack && wheelbase >= shortestWheelbase; }
};

Span spanOf(const std::array<WheelGeometry, raf::wheelCount>& g) {
  Span s;
  s.frontTrack = widen(g[1].offsetX) - widen(g[0].offsetX);
  s.rearTrack = widen(g[3].offsetX) - widen(g[2].offsetX);
  s.wheelbase = (widen(g[0].offsetY) + widen(g[1].offsetY)) / 2.0 - (widen(g[2].offsetY) + widen(g[3].offsetY)) / 2.0;
  // A damaged header may give anything, NaN or infinities among it.
  if (!(std::isfinite(s.frontTrack) && std::isfinite(s.rearTrack) && std::isfinite(s.wheelbase))) return Span{};
  return s;
}

bool driving(double acceleration) { return std::fabs(acceleration) <= largestDrivingAcceleration; }

// Adds sample i to the lines and the charts' bins where the car is on the
// road and moving on all four wheels.
void addCarSample(const Replay& replay, std::size_t i, double lateral, double longitudinal, const Span& span,
                  PlatformBlock& block, std::array<LateralBin, lateralBins>& bins, PlatformChannels& channels,
                  std::size_t at) {
  std::array<double, raf::wheelCount> d{}, load{};
  for (std::size_t w = 0; w < raf::wheelCount; ++w) {
    const WheelTrack& wheel = replay.wheels[w];
    if (!passesPerWheel(wheel, i)) return;
    d[w] = widen(wheel.suspensionDeflection[i]);
    load[w] = widen(wheel.normalLoad[i]);
    if (!std::isfinite(d[w]) || !(std::fabs(load[w]) <= largestLoad)) return;
  }
  const double frontTransfer = load[0] - load[1], rearTransfer = load[2] - load[3];
  channels.frontTransfer[at] = toFloat(frontTransfer);
  channels.rearTransfer[at] = toFloat(rearTransfer);
  if (driving(lateral)) {
    block.lines[frontTransferLine].add(lateral, frontTransfer);
    block.lines[rearTransferLine].add(lateral, rearTransfer);
  }
  if (!span.known()) return;
  // Small angles: a body rolls a few degrees, where an angle and its tangent
  // agree to 0.1 %, and the slope of the one is the slope of the other.
  const double roll = ((d[0] - d[1]) / span.frontTrack + (d[2] - d[3]) / span.rearTrack) / 2.0 * radiansToDegrees;
  const double pitch = ((d[0] + d[1]) / 2.0 - (d[2] + d[3]) / 2.0) / span.wheelbase * radiansToDegrees;
  channels.roll[at] = toFloat(roll);
  if (driving(longitudinal)) block.lines[pitchLine].add(longitudinal, pitch);
  if (!driving(lateral)) return;
  if (std::fabs(lateral) <= linearRoll) block.lines[rollLine].add(lateral, roll);
  const auto k = static_cast<std::size_t>(std::floor(lateral / lateralBinWidth) + static_cast<double>(lateralBins / 2));
  LateralBin& bin = bins[std::min(k, lateralBins - 1)];
  bin.count += 1.0;
  bin.lateral += lateral;
  bin.roll += roll;
  bin.frontTransfer += frontTransfer;
  bin.rearTransfer += rearTransfer;
}

DamperQuadrant quadrantOf(double velocity) {
  if (velocity >= 0.0) return velocity <= damperKnee ? bumpSlow : bumpFast;
  return velocity >= -damperKnee ? reboundSlow : reboundFast;
}

// One wheel's largest share of its travel, its samples at the travel's end and
// its damper's velocities, at every sample where it is on the road.
// `blocks` holds the wheel's own record of each block of the replay.
// `atEnd` and `velocities` are the wheel's channels from the replay's first
// sample on.
void addWheelSamples(const WheelTrack& wheel, std::size_t w, const PlatformLap& lap, std::size_t samplesPerBlock,
                     std::vector<WheelBlock>& blocks, std::array<std::uint64_t, damperBins>& damperCounts,
                     std::span<std::uint8_t> atEndChannel, std::span<float> velocities) {
  const std::size_t n = wheel.suspensionDeflection.size();
  const double travel = widen(lap.travel[w]);
  const bool travelKnown = travelRecorded(lap.travel[w]);
  // mm/s per m of deflection over two intervals.
  const double velocityScale = 1000.0 / (2.0 * lap.interval);
  const double atEnd = (1.0 - travelEndShare) * travel;
  // Each block's largest deflection; its share of the travel once the block is
  // done (a correctly rounded quotient keeps the order of its dividends).
  std::vector<float> largest(blocks.size(), -std::numeric_limits<float>::infinity());
  for (std::size_t i = 0; i < n; ++i) {
    const float d = wheel.suspensionDeflection[i];
    if (!(wheel.normalLoad[i] >= minNormalLoad) || !std::isfinite(d)) continue;
    const std::size_t k = std::min(i / samplesPerBlock, blocks.size() - 1);
    WheelBlock& b = blocks[k];
    largest[k] = std::max(largest[k], d);
    if (travelKnown) atEndChannel[i] = widen(d) >= atEnd ? 1 : 0;
    if (travelKnown && widen(d) >= atEnd) ++b.atEnd;
    if (!lap.dampersMeasured || i == 0 || i + 1 >= n) continue;
    const double velocity = (widen(wheel.suspensionDeflection[i + 1]) - widen(wheel.suspensionDeflection[i - 1])) *
                            velocityScale;
    if (!std::isfinite(velocity)) continue;
    velocities[i] = toFloat(velocity);
    ++b.quadrant[quadrantOf(velocity)];
    ++damperCounts[damperBin(velocity)];
  }
  if (!travelKnown) return;
  for (std::size_t k = 0; k < blocks.size(); ++k) {
    // A damaged sample's deflection may be any float: the share is kept within a float's range.
    if (largest[k] > -std::numeric_limits<float>::infinity()) {
      blocks[k].largestShare = toFloat(std::clamp(widen(largest[k]) / travel, -1.0, 1e6));
    }
  }
}

}  // namespace

void PlatformBlock::add(const PlatformBlock& other, std::uint32_t times) {
  const auto t = static_cast<double>(times);
  for (std::size_t k = 0; k < lines.size(); ++k) lines[k].add(other.lines[k], t);
  for (std::size_t w = 0; w < wheels.size(); ++w) {
    WheelBlock& to = wheels[w];
    const WheelBlock& from = other.wheels[w];
    to.largestShare = std::max(to.largestShare, from.largestShare);
    to.atEnd += times * from.atEnd;
    for (std::size_t q = 0; q < to.quadrant.size(); ++q) to.quadrant[q] += times * from.quadrant[q];
  }
}

PlatformBlock PlatformSamples::drawn(std::span<const std::uint32_t> weights) const {
  PlatformBlock sum;
  for (std::size_t b = 0; b < weights.size() && b < blocks.size(); ++b) {
    if (weights[b] != 0) sum.add(blocks[b], weights[b]);
  }
  return sum;
}

PlatformBlock PlatformSamples::lap(const PlatformLap& l) const {
  PlatformBlock sum;
  for (std::uint32_t b = l.firstBlock; b < l.firstBlock + l.blocks && b < blocks.size(); ++b) sum.add(blocks[b], 1);
  return sum;
}

void PlatformSamples::shrinkToFit() {
  laps.shrink_to_fit();
  blocks.shrink_to_fit();
  channels.roll.shrink_to_fit();
  channels.frontTransfer.shrink_to_fit();
  channels.rearTransfer.shrink_to_fit();
  for (std::vector<std::uint8_t>& v : channels.atTravelEnd) v.shrink_to_fit();
  for (std::vector<float>& v : channels.damperVelocity) v.shrink_to_fit();
}

std::size_t damperBin(double velocity) {
  if (!(velocity >= -damperRange)) return 0;
  if (velocity >= damperRange) return damperBins - 1;
  return 1 + std::min(damperBins - 3, static_cast<std::size_t>((velocity + damperRange) / damperBinWidth));
}

double damperEdge(std::size_t b) {
  if (b == 0) return -std::numeric_limits<double>::infinity();
  return -damperRange + static_cast<double>(b - 1) * damperBinWidth;
}

void appendPlatformSamples(const Replay& replay, const ReplaySetup& setup, std::span<const float> lateral,
                           std::span<const float> longitudinal, const PlatformNumbering& numbering,
                           PlatformSamples& into) {
  const std::size_t n = replay.sampleCount();
  const Span span = spanOf(replay.geometry);
  PlatformLap lap;
  lap.firstBlock = numbering.firstBlock;
  lap.blocks = numbering.blocks;
  // To the microsecond, so that a count of samples makes a time of as few digits as it has.
  lap.interval = std::round(widen(replay.header.sampleInterval) * 1e6) / 1e6;
  lap.geometryKnown = span.known();
  lap.dampersMeasured = lap.interval > 0.0 && lap.interval <= longestDamperInterval;
  for (std::size_t w = 0; w < raf::wheelCount; ++w) lap.travel[w] = setup.wheels[w].travel;
  into.laps.push_back(lap);
  into.blocks.resize(std::max<std::size_t>(into.blocks.size(), std::size_t{numbering.firstBlock} + numbering.blocks));
  const auto blockOf = [&](std::size_t i) -> PlatformBlock& {
    return into.blocks[numbering.firstBlock + std::min<std::size_t>(i / numbering.samplesPerBlock, numbering.blocks - 1)];
  };
  PlatformChannels& c = into.channels;
  const std::size_t end = std::size_t{numbering.firstSample} + n;
  constexpr float none = std::numeric_limits<float>::quiet_NaN();
  for (std::vector<float>* v : {&c.roll, &c.frontTransfer, &c.rearTransfer}) grownTo(*v, end, none);
  for (std::size_t w = 0; w < raf::wheelCount; ++w) {
    grownTo(c.atTravelEnd[w], end, PlatformChannels::unknownEnd);
    grownTo(c.damperVelocity[w], end, none);
  }
  for (std::size_t i = 0; i < n; ++i) {
    const std::size_t at = numbering.firstSample + i;
    if (at >= lateral.size() || at >= longitudinal.size()) break;
    const double ay = widen(lateral[at]), ax = widen(longitudinal[at]);
    if (std::isfinite(ay) && std::isfinite(ax)) addCarSample(replay, i, ay, ax, span, blockOf(i), into.bins, c, at);
  }
  // The wheels share nothing: each on its own core, into blocks of its own
  // (side by side in one block, four wheels would share cache lines).
  std::array<std::vector<WheelBlock>, raf::wheelCount> wheelBlocks;
  parallelFor(static_cast<int>(raf::wheelCount), [&](int wheel) {
    const auto w = static_cast<std::size_t>(wheel);
    wheelBlocks[w].resize(numbering.blocks);
    addWheelSamples(replay.wheels[w], w, lap, numbering.samplesPerBlock, wheelBlocks[w], into.damperCounts[w],
                    std::span(c.atTravelEnd[w]).subspan(numbering.firstSample, n),
                    std::span(c.damperVelocity[w]).subspan(numbering.firstSample, n));
  });
  for (std::size_t w = 0; w < raf::wheelCount; ++w) {
    for (std::size_t b = 0; b < wheelBlocks[w].size(); ++b) into.blocks[numbering.firstBlock + b].wheels[w] = wheelBlocks[w][b];
  }
}

}  // namespace skidlog
