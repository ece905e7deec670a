#include "report/laps/grip_channels.h"

#include <cmath>
#include <cstdint>
#include <limits>

#include "numeric/precision.h"

namespace skidlog {
namespace {

constexpr double unknown = std::numeric_limits<double>::quiet_NaN();

// The axle's largest lateral grip at `load` N: the fit's peak (or its largest
// grip within the data) scaled as its peak factor scales with load.
double gripAtLoad(const CurveFit& fit, double grip, double load) {
  const MagicFormula& f = fit.curve;
  const double scale = f.D != 0.0 ? (f.D + f.L * (load - f.referenceLoad) / 1000.0) / f.D : 1.0;
  return grip * scale;
}

}  // namespace

GroupChannels channelsOf(const ReportGroup& group) {
  GroupChannels c;
  const std::size_t n = group.samples;
  c.understeer.assign(n, unknown);
  for (std::size_t a = 0; a < axleCount; ++a) {
    c.use[a].assign(n, unknown);
    c.useOfLargest[a].assign(n, unknown);
    const WheelPoints& p = group.axlePoints[a];
    const std::optional<CurveAnalysis>& lateral = group.axles[a].lateral;
    if (!lateral) continue;
    const CurveFit& fit = lateral->fit;
    for (std::size_t i = 0; i < p.size(); ++i) {
      const double grip = std::fabs(widen(p.lateralGrip[i])), load = widen(p.normalLoad[i]);
      const double largest = gripAtLoad(fit, fit.peak.grip, load);
      if (!(largest > 0.0)) continue;
      c.useOfLargest[a][p.sample[i]] = grip / largest;
      if (fit.peak.reached) c.use[a][p.sample[i]] = grip / largest;
    }
  }
  const WheelPoints& front = group.axlePoints[0];
  const WheelPoints& rear = group.axlePoints[1];
  for (std::size_t i = 0, j = 0; i < front.size() && j < rear.size();) {
    if (front.sample[i] < rear.sample[j]) {
      ++i;
    } else if (rear.sample[j] < front.sample[i]) {
      ++j;
    } else {
      const std::uint32_t s = front.sample[i];
      const double ay = s < group.lateralAcceleration.size() ? widen(group.lateralAcceleration[s]) : unknown;
      if (std::isfinite(ay) && ay != 0.0) {
        const double difference = widen(front.slipAngle[i]) - widen(rear.slipAngle[j]);
        c.understeer[s] = ay > 0.0 ? difference : -difference;
      }
      ++i;
      ++j;
    }
  }
  return c;
}

}  // namespace skidlog
