#include "report/analysis/platform/platform.h"

#include <cmath>
#include <limits>
#include <optional>
#include <string>

#include "report/fit/bootstrap.h"

namespace skidlog {
namespace {

constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr double minBinSamples = 5.0;

double slopeOf(const LineSums& s) { return s.w >= minPlatformSamples ? s.slope() : nan; }

double lltdOf(const PlatformBlock& b) {
  const double front = slopeOf(b.lines[frontTransferLine]), rear = slopeOf(b.lines[rearTransferLine]);
  const double both = front + rear;
  return std::isfinite(both) && both != 0.0 ? front / both : nan;
}

// The largest share of its travel a block's wheel reached; NaN where none.
double largestShareOf(const WheelBlock& b) { return b.largestShare < 0.0f ? nan : static_cast<double>(b.largestShare); }

double quadrantShare(const WheelBlock& b, std::size_t q) {
  double total = 0.0;
  for (const std::uint32_t count : b.quadrant) total += static_cast<double>(count);
  return total > 0.0 ? static_cast<double>(b.quadrant[q]) / total : nan;
}

// The sums a number is taken from: each lap's, and, drawn once where a
// number rests on one lap, every replicate's.
class PlatformSums {
 public:
  PlatformSums(const PlatformSamples& samples, const Resamples& resamples) : samples_(samples), resamples_(resamples) {
    for (const PlatformLap& lap : samples.laps) {
      laps_.push_back(samples.lap(lap));
      all_.add(laps_.back(), 1);
    }
  }

  // valueOf(sums, lap) for every lap; with one lap giving a value, its
  // interval from the replicates' sums.
  template <typename ValueOf>
  PlatformNumber number(ValueOf valueOf) {
    PlatformNumber n;
    std::vector<double> values;
    std::optional<std::size_t> only;
    for (std::size_t l = 0; l < laps_.size(); ++l) {
      values.push_back(valueOf(laps_[l], samples_.laps[l]));
      if (std::isfinite(values.back())) only = l;
    }
    n.laps = overLaps(values);
    if (!n.laps.known()) return n;
    n.estimate.value = n.laps.mean;
    if (n.laps.hasInterval()) {
      n.estimate.ci = n.laps.ci;
      return n;
    }
    const std::vector<PlatformBlock>& drawn = replicates();
    for (const PlatformBlock& sums : drawn) n.estimate.replicates.push_back(valueOf(sums, samples_.laps[*only]));
    n.estimate.ci = interval95(n.estimate.replicates, n.estimate.value);
    return n;
  }

  const std::vector<PlatformBlock>& replicates() {
    if (replicates_.empty() && resamples_.blocks() > 0) {
      for (int r = 0; r < bootstrapReplicates; ++r) replicates_.push_back(samples_.drawn(resamples_.weights(r)));
    }
    return replicates_;
  }

  // The sums over every lap.
  const PlatformBlock& all() const { return all_; }

 private:
  const PlatformSamples& samples_;
  const Resamples& resamples_;
  std::vector<PlatformBlock> laps_;
  PlatformBlock all_;
  std::vector<PlatformBlock> replicates_;
};

// The largest share of its travel a wheel reaches over the group's laps, and
// over each replicate's draw of them.
Estimate travelUsed(PlatformSums& sums, std::size_t w) {
  Estimate e;
  e.value = largestShareOf(sums.all().wheels[w]);
  if (!e.known()) return e;
  for (const PlatformBlock& drawn : sums.replicates()) e.replicates.push_back(largestShareOf(drawn.wheels[w]));
  e.ci = interval95(e.replicates, e.value);
  return e;
}

std::optional<Damper> damperOf(const PlatformSamples& samples, PlatformSums& sums, std::size_t w) {
  const auto& counts = samples.damperCounts[w];
  double total = 0.0;
  for (const std::uint64_t c : counts) total += static_cast<double>(c);
  if (!(total > 0.0)) return std::nullopt;
  Damper d;
  for (const std::uint64_t c : counts) d.share.push_back(static_cast<double>(c) / total);
  for (std::size_t q = 0; q < d.quadrant.size(); ++q) {
    d.quadrant[q] = sums.number([&](const PlatformBlock& b, const PlatformLap& lap) {
      return lap.dampersMeasured ? quadrantShare(b.wheels[w], q) : nan;
    });
  }
  return d;
}

// The charts' bins with enough samples, and the line through them at `slope`
// (the group's) through the mean of all its samples.
PlatformChartLine chartLine(const PlatformSamples& samples, const LineSums& pooled, double slope,
                            double LateralBin::*value) {
  PlatformChartLine line;
  for (const LateralBin& bin : samples.bins) {
    if (bin.count < minBinSamples) continue;
    line.lateral.push_back(bin.lateral / bin.count);
    line.value.push_back(bin.*value / bin.count);
  }
  line.slope = std::isfinite(slope) ? slope : 0.0;
  line.offset = pooled.w > 0.0 ? (pooled.y - line.slope * pooled.x) / pooled.w : 0.0;
  line.centre = pooled.w > 0.0 ? pooled.x / pooled.w : 0.0;
  return line;
}

// Milliseconds, as a user reads an interval.
void findWhatIsMissing(const PlatformSamples& samples, Platform& p) {
  bool geometry = false, travel = false;
  PlatformGaps& gaps = p.gaps;
  gaps.laps = samples.laps.size();
  for (const PlatformLap& lap : samples.laps) {
    geometry = geometry || lap.geometryKnown;
    for (const float t : lap.travel) travel = travel || travelRecorded(t);
    if (!lap.dampersMeasured) {
      ++gaps.coarseLaps;
      gaps.coarseInterval = lap.interval;
    }
  }
  gaps.noGeometry = !geometry;
  gaps.noTravel = !travel;
}

}  // namespace

Platform analysePlatform(const PlatformSamples& samples, const Resamples& resamples) {
  Platform p;
  PlatformSums sums(samples, resamples);
  p.rollGradient = sums.number([](const PlatformBlock& b, const PlatformLap&) { return slopeOf(b.lines[rollLine]); });
  p.lltdFront = sums.number([](const PlatformBlock& b, const PlatformLap&) { return lltdOf(b); });
  p.pitchGradient = sums.number([](const PlatformBlock& b, const PlatformLap&) { return slopeOf(b.lines[pitchLine]); });
  for (const PlatformLap& lap : samples.laps) p.dampersMeasured = p.dampersMeasured || lap.dampersMeasured;
  for (std::size_t w = 0; w < p.wheels.size(); ++w) {
    WheelPlatform& wheel = p.wheels[w];
    wheel.travelUsed = travelUsed(sums, w);
    wheel.lapTravelUsed =
        sums.number([w](const PlatformBlock& b, const PlatformLap&) { return largestShareOf(b.wheels[w]); });
    wheel.atTravelEnd = sums.number([w](const PlatformBlock& b, const PlatformLap& lap) {
      return travelRecorded(lap.travel[w]) ? static_cast<double>(b.wheels[w].atEnd) * lap.interval : nan;
    });
    wheel.damper = damperOf(samples, sums, w);
  }
  const PlatformBlock& all = sums.all();
  p.roll = chartLine(samples, all.lines[rollLine], p.rollGradient.estimate.value, &LateralBin::roll);
  p.roll.range = linearRoll;
  p.transfer[0] = chartLine(samples, all.lines[frontTransferLine], slopeOf(all.lines[frontTransferLine]),
                            &LateralBin::frontTransfer);
  p.transfer[1] = chartLine(samples, all.lines[rearTransferLine], slopeOf(all.lines[rearTransferLine]),
                            &LateralBin::rearTransfer);
  findWhatIsMissing(samples, p);
  return p;
}

}  // namespace skidlog
