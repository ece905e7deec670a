// The most grip a car's axle shows in the report's laps, load by load: its
// grip envelope. An axle's combined grip is its force over its load,
// longitudinal and lateral together, as the friction circle shows it; within
// each band of load the envelope is a high quantile of it (robust to a kerb's
// single spikes). It is the most the data shows, not the tyre's limit: a car
// driven below its limit everywhere has an envelope below that limit.
#ifndef SKIDLOG_REPORT_LAPS_GRIP_GRIP_ENVELOPE_H_
#define SKIDLOG_REPORT_LAPS_GRIP_GRIP_ENVELOPE_H_

#include <cstdint>
#include <span>
#include <vector>

#include "report/analysis/tyres/tyre_points.h"

namespace skidlog {

// The envelope's bands of axle load (the mean of its wheels' loads), N.
inline constexpr double envelopeBandWidth = 500.0;
// Its quantile of the combined grip within a band.
inline constexpr double envelopeQuantile = 0.99;
// A band with fewer points says nothing of its own.
inline constexpr std::size_t envelopeMinPoints = 200;
// An axle load beyond this, N, is a damaged file's and has no band.
inline constexpr double envelopeMaxLoad = 1e6;

// The span of the running mean of an axle's combined grip, s: long enough to
// take out the sensors' noise sample by sample, short against a corner.
inline constexpr double gripSmoothingSeconds = 0.1;

// An axle's combined grip at each of its points, as a running mean over the
// points within `halfWidth` samples of it (its sample numbers ascend).
std::vector<double> combinedGrip(const WheelPoints& axle, std::size_t halfWidth);

class GripEnvelope {
 public:
  GripEnvelope() = default;
  // The envelope of one axle of one car over groups: each group's axle
  // points and their combined grip (combinedGrip).
  GripEnvelope(std::span<const WheelPoints* const> axles, std::span<const std::vector<double>* const> grips);

  // The envelope's grip at an axle load of `load` N: linear between the
  // centres of the bands that hold enough points, level beyond the first
  // and the last; NaN where no band does.
  double at(double load) const;
  bool known() const { return !centre_.empty(); }

 private:
  std::vector<double> centre_;  // N, of the bands that hold enough points
  std::vector<double> grip_;
};

}  // namespace skidlog

#endif  // SKIDLOG_REPORT_LAPS_GRIP_GRIP_ENVELOPE_H_
