#include "report/laps/grip_envelope.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>

#include "numeric/precision.h"

namespace skidlog {

double combinedGrip(const WheelPoints& axle, std::size_t i) {
  return std::hypot(widen(axle.lateralGrip[i]), widen(axle.longitudinalGrip[i]));
}

GripEnvelope::GripEnvelope(std::span<const WheelPoints* const> axles) {
  std::map<std::int64_t, std::vector<double>> bands;
  for (const WheelPoints* axle : axles) {
    for (std::size_t i = 0; i < axle->size(); ++i) {
      const double load = widen(axle->normalLoad[i]), grip = combinedGrip(*axle, i);
      if (!std::isfinite(load) || !std::isfinite(grip)) continue;
      bands[static_cast<std::int64_t>(std::floor(load / envelopeBandWidth))].push_back(grip);
    }
  }
  for (auto& [band, grips] : bands) {
    if (grips.size() < envelopeMinPoints) continue;
    const auto k = static_cast<std::size_t>(envelopeQuantile * static_cast<double>(grips.size() - 1));
    std::nth_element(grips.begin(), grips.begin() + static_cast<std::ptrdiff_t>(k), grips.end());
    centre_.push_back((static_cast<double>(band) + 0.5) * envelopeBandWidth);
    grip_.push_back(grips[k]);
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
