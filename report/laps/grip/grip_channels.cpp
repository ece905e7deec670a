#include "report/laps/grip/grip_channels.h"

#include <cmath>
#include <limits>

#include "numeric/precision.h"

namespace skidlog {
namespace {

constexpr double unknown = std::numeric_limits<double>::quiet_NaN();

// The axle's lateral peak grip at `load` N: the fit's peak scaled as its peak
// factor scales with load.
double largestGripAt(const CurveFit& fit, double load) {
  const MagicFormula& f = fit.curve;
  const double scale = f.D != 0.0 ? (f.D + f.L * (load - f.referenceLoad) / 1000.0) / f.D : 1.0;
  return fit.peak.grip * scale;
}

}  // namespace

AxleGrips axleGrips(const ReportGroup& group) {
  // The finest interval of the group's laps sets the window.
  const std::vector<float> intervals = group.sampleIntervals();
  const double interval = intervals.empty() || !(intervals.front() > 0.0f) ? 0.01 : widen(intervals.front());
  const auto halfWidth = static_cast<std::size_t>(std::lround(gripSmoothingSeconds / 2.0 / interval));
  AxleGrips grips;
  for (std::size_t a = 0; a < axleCount; ++a) grips[a] = combinedGrip(group.axlePoints[a], halfWidth);
  return grips;
}

GroupChannels channelsOf(const ReportGroup& group, const AxleGrips& grips,
                         const std::array<GripEnvelope, axleCount>& envelopes) {
  GroupChannels c;
  const std::size_t n = group.samples;
  c.understeer.assign(n, unknown);
  for (std::size_t a = 0; a < axleCount; ++a) {
    c.use[a].assign(n, unknown);
    c.useOfPeak[a].assign(n, unknown);
    const WheelPoints& p = group.axlePoints[a];
    for (std::size_t i = 0; i < p.size(); ++i) {
      const double most = envelopes[a].at(widen(p.normalLoad[i]));
      if (most > 0.0) c.use[a][p.sample[i]] = grips[a][i] / most;
    }
    const std::optional<CurveAnalysis>& lateral = group.axles[a].lateral;
    if (!lateral || !lateral->fit.peak.reached) continue;
    const CurveFit& fit = lateral->fit;
    for (std::size_t i = 0; i < p.size(); ++i) {
      const double largest = largestGripAt(fit, widen(p.normalLoad[i]));
      if (largest > 0.0) c.useOfPeak[a][p.sample[i]] = std::fabs(widen(p.lateralGrip[i])) / largest;
    }
  }
  // The handling diagram's points, each turned toward its corner.
  const Balance& b = group.balance;
  for (std::size_t k = 0; k < b.sample.size(); ++k) {
    const double difference = widen(b.slipDifference[k]);
    if (b.acceleration[k] != 0.0f) c.understeer[b.sample[k]] = b.acceleration[k] > 0.0f ? difference : -difference;
  }
  return c;
}

namespace {

// The car a group drove (every replay of a group is of one car).
const std::string& carOf(const ReportGroup& group) {
  static const std::string none;
  return group.replays.empty() ? none : group.replays.front().car;
}

// The grip envelopes, front and rear, of `car`: over every group of that car.
std::array<GripEnvelope, axleCount> carEnvelopes(std::span<const ReportGroup> groups,
                                                 const std::vector<AxleGrips>& grips, const std::string& car) {
  std::array<GripEnvelope, axleCount> envelopes;
  for (std::size_t a = 0; a < axleCount; ++a) {
    std::vector<const WheelPoints*> axles;
    std::vector<const std::vector<double>*> axleGrip;
    for (std::size_t g = 0; g < groups.size(); ++g) {
      if (carOf(groups[g]) != car) continue;
      axles.push_back(&groups[g].axlePoints[a]);
      axleGrip.push_back(&grips[g][a]);
    }
    envelopes[a] = GripEnvelope(axles, axleGrip);
  }
  return envelopes;
}

}  // namespace

std::vector<GroupChannels> groupChannels(std::span<const ReportGroup> groups) {
  std::vector<AxleGrips> grips;
  for (const ReportGroup& g : groups) grips.push_back(axleGrips(g));
  std::vector<std::string> cars;
  std::vector<std::array<GripEnvelope, axleCount>> envelopes;
  std::vector<GroupChannels> channels;
  for (std::size_t g = 0; g < groups.size(); ++g) {
    const std::string& car = carOf(groups[g]);
    auto known = std::find(cars.begin(), cars.end(), car);
    if (known == cars.end()) {
      cars.push_back(car);
      envelopes.push_back(carEnvelopes(groups, grips, car));
      known = cars.end() - 1;
    }
    channels.push_back(channelsOf(groups[g], grips[g], envelopes[static_cast<std::size_t>(known - cars.begin())]));
  }
  return channels;
}

}  // namespace skidlog
