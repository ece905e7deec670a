#include "report/laps/grip/grip_envelope.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>

#include "numeric/elementary.h"
#include "numeric/precision.h"
#include "report/fit/statistics.h"

namespace skidlog {

std::vector<double> combinedGrip(const WheelPoints& axle, std::size_t halfWidth) {
  const std::size_t n = axle.size();
  std::vector<double> raw(n), mean(n);
  for (std::size_t i = 0; i < n; ++i) {
    const double grip = portable::hypot(widen(axle.lateralGrip[i]), widen(axle.longitudinalGrip[i]));
    raw[i] = std::isfinite(grip) ? grip : std::numeric_limits<double>::quiet_NaN();
  }
  // A window that slides with the sample numbers, from `low` to `high`,
  // summing its finite grips.
  std::size_t low = 0, high = 0, finite = 0;
  double sum = 0.0;
  const auto take = [&](std::size_t k, double sign) {
    if (std::isnan(raw[k])) return;
    sum += sign * raw[k];
    finite = sign > 0.0 ? finite + 1 : finite - 1;
  };
  for (std::size_t i = 0; i < n; ++i) {
    const std::uint64_t at = axle.sample[i];
    while (high < n && axle.sample[high] <= at + halfWidth) take(high++, 1.0);
    while (std::uint64_t{axle.sample[low]} + halfWidth < at) take(low++, -1.0);
    mean[i] = std::isnan(raw[i]) || finite == 0 ? raw[i] : sum / static_cast<double>(finite);
  }
  return mean;
}

GripEnvelope::GripEnvelope(std::span<const WheelPoints* const> axles,
                           std::span<const std::vector<double>* const> grips) {
  std::map<std::int64_t, std::vector<double>> bands;
  for (std::size_t g = 0; g < axles.size(); ++g) {
    const WheelPoints* axle = axles[g];
    for (std::size_t i = 0; i < axle->size(); ++i) {
      const double load = widen(axle->normalLoad[i]), grip = (*grips[g])[i];
      if (!(std::fabs(load) < envelopeMaxLoad) || !std::isfinite(grip)) continue;
      bands[static_cast<std::int64_t>(std::floor(load / envelopeBandWidth))].push_back(grip);
    }
  }
  for (auto& [band, inBand] : bands) {
    if (inBand.size() < envelopeMinPoints) continue;
    centre_.push_back((static_cast<double>(band) + 0.5) * envelopeBandWidth);
    grip_.push_back(quantileInPlace(inBand, envelopeQuantile));
  }
}

double GripEnvelope::at(double load) const {
  if (centre_.empty() || std::isnan(load)) return std::numeric_limits<double>::quiet_NaN();
  if (load <= centre_.front()) return grip_.front();
  if (load >= centre_.back()) return grip_.back();
  const std::size_t k = static_cast<std::size_t>(std::upper_bound(centre_.begin(), centre_.end(), load) - centre_.begin());
  const double t = (load - centre_[k - 1]) / (centre_[k] - centre_[k - 1]);
  return grip_[k - 1] + t * (grip_[k] - grip_[k - 1]);
}

}  // namespace skidlog
