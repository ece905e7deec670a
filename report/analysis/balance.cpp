#include "report/analysis/balance.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "numeric/precision.h"
#include "report/analysis/report_group.h"
#include "report/fit/bootstrap.h"
#include "report/fit/line_sums.h"
#include "report/fit/statistics.h"

namespace skidlog {
namespace {

constexpr double gravityAcceleration = 9.81;  // m/s^2 per g
constexpr double differenceSpan = 0.05;       // s either side of a sample
constexpr double medianBin = 0.05;            // g
constexpr std::size_t minBinPoints = 5;

// Calls visit(indices) with the indices of the values in each bin of
// medianBin, bins in ascending order; valueAt(i) is the i-th of n values.
template <typename ValueAt, typename Visit>
void forEachBin(std::size_t n, ValueAt valueAt, Visit visit) {
  std::vector<std::pair<std::int64_t, std::size_t>> keyed;
  keyed.reserve(n);
  for (std::size_t i = 0; i < n; ++i) keyed.emplace_back(static_cast<std::int64_t>(std::floor(valueAt(i) / medianBin)), i);
  std::sort(keyed.begin(), keyed.end());
  std::vector<std::size_t> indices;
  for (std::size_t start = 0; start < keyed.size();) {
    indices.clear();
    std::size_t end = start;
    for (; end < keyed.size() && keyed[end].first == keyed[start].first; ++end) indices.push_back(keyed[end].second);
    visit(indices);
    start = end;
  }
}

// Points whose y lies further than three robust standard deviations from
// the median of the points in their bin of x (a kerb, a slide): the line is
// fitted without them, and the bins themselves carry no weight of their own,
// so the many points of the straights do not decide what counts as far.
std::vector<bool> outliersByBin(const std::vector<double>& x, const std::vector<double>& y) {
  std::vector<bool> outlier(x.size(), false);
  std::vector<double> values;
  forEachBin(x.size(), [&](std::size_t i) { return x[i]; }, [&](const std::vector<std::size_t>& bin) {
    values.clear();
    for (const std::size_t i : bin) values.push_back(y[i]);
    const double centre = median(values);
    for (double& v : values) v = std::fabs(v - centre);
    const double cut = 3.0 * std::max(1.4826 * median(values), 1e-3);
    for (const std::size_t i : bin) outlier[i] = std::fabs(y[i] - centre) > cut;
  });
  return outlier;
}

// The samples at which all four wheels are in their fitting subsets: the
// wheels' rows are in sample order, so they are walked together.
void diagramPoints(const ReportGroup& group, Balance& b) {
  std::array<std::size_t, raf::wheelCount> at{};
  const auto& subsets = group.wheelSubsets;
  const auto sampleOf = [&](std::size_t w) { return group.points[w].sample[subsets[w].all[at[w]]]; };
  const auto more = [&] {
    for (std::size_t w = 0; w < at.size(); ++w) {
      if (at[w] >= subsets[w].all.size()) return false;
    }
    return true;
  };
  // At most one point per fitted point of the wheel with fewest; the room
  // left over is given back at the end, as every group keeps its diagram.
  std::size_t most = subsets[0].all.size();
  for (const FitSubsets& s : subsets) most = std::min(most, s.all.size());
  b.acceleration.reserve(most);
  b.slipDifference.reserve(most);
  b.block.reserve(most);
  b.sample.reserve(most);
  b.steady.reserve(most);
  while (more()) {
    std::uint32_t latest = 0;
    for (std::size_t w = 0; w < at.size(); ++w) latest = std::max(latest, sampleOf(w));
    bool aligned = true;
    for (std::size_t w = 0; w < at.size(); ++w) {
      if (sampleOf(w) < latest) {
        ++at[w];
        aligned = false;
      }
    }
    if (!aligned) continue;
    std::array<double, raf::wheelCount> slip{};
    for (std::size_t w = 0; w < at.size(); ++w) slip[w] = widen(group.points[w].slipAngle[subsets[w].all[at[w]]]);
    const bool known = latest < group.lateralAcceleration.size();
    const float acceleration = known ? group.lateralAcceleration[latest] : std::numeric_limits<float>::quiet_NaN();
    const float forward = known ? group.longitudinalAcceleration[latest] : std::numeric_limits<float>::quiet_NaN();
    if (std::isfinite(acceleration)) {
      b.acceleration.push_back(acceleration);
      b.steady.push_back(std::fabs(widen(forward)) <= steadyAcceleration);
      b.slipDifference.push_back(toFloat((slip[0] + slip[1]) / 2.0 - (slip[2] + slip[3]) / 2.0));
      b.block.push_back(group.points[0].block[subsets[0].all[at[0]]]);
      b.sample.push_back(latest);
    }
    for (std::size_t& k : at) ++k;
  }
  b.acceleration.shrink_to_fit();
  b.slipDifference.shrink_to_fit();
  b.block.shrink_to_fit();
  b.sample.shrink_to_fit();
  b.steady.shrink_to_fit();
}

// The understeer gradient: the least-squares line through the steady samples
// of the linear range (braking or driving shifts load between the axles and
// so their slip angles), outliers left out; its interval from the group's
// resamples of blocks (the same draws as its tyres').
void fitGradient(const ReportGroup& group, const Resamples& resamples, Balance& b) {
  std::vector<double> x, y;
  std::vector<std::uint32_t> blocks;
  for (std::size_t i = 0; i < b.acceleration.size(); ++i) {
    if (std::fabs(widen(b.acceleration[i])) > linearAcceleration || !b.steady[i]) continue;
    x.push_back(widen(b.acceleration[i]));
    y.push_back(widen(b.slipDifference[i]));
    blocks.push_back(b.block[i]);
  }
  const std::vector<bool> outlier = outliersByBin(x, y);
  LineSums all;
  std::vector<LineSums> perBlock(group.blocks);
  for (std::size_t i = 0; i < x.size(); ++i) {
    if (outlier[i]) continue;
    ++b.fitted;
    all.add(x[i], y[i]);
    perBlock[blocks[i]].add(x[i], y[i]);
  }
  if (b.fitted < minFitPoints) return;
  b.understeerGradient.value = all.slope();
  b.offset = all.intercept();
  std::vector<double> replicates(bootstrapReplicates);
  for (int r = 0; r < bootstrapReplicates; ++r) {
    const std::span<const std::uint32_t> draws = resamples.weights(r);
    LineSums s;
    for (std::size_t k = 0; k < perBlock.size(); ++k) {
      if (draws[k] != 0) s.add(perBlock[k], draws[k]);
    }
    replicates[static_cast<std::size_t>(r)] = s.slope();
  }
  b.understeerGradient.ci = interval95(replicates, b.understeerGradient.value);
  b.understeerGradient.replicates = std::move(replicates);
}

// The handling diagram's line: per bin of lateral acceleration, its mean
// and the median difference of slip angles.
void binnedMedians(Balance& b) {
  std::vector<double> slips;
  forEachBin(b.acceleration.size(), [&](std::size_t i) { return widen(b.acceleration[i]); },
             [&](const std::vector<std::size_t>& bin) {
               if (bin.size() < minBinPoints) return;
               slips.clear();
               double accelerations = 0.0;
               for (const std::size_t i : bin) {
                 slips.push_back(widen(b.slipDifference[i]));
                 accelerations += widen(b.acceleration[i]);
               }
               b.medianAcceleration.push_back(accelerations / static_cast<double>(bin.size()));
               b.medianSlipDifference.push_back(median(slips));
             });
}

// Which axle reaches its peak grip first, only as far as the axles' fits
// show it: in steady cornering each axle works at the grip the lateral
// acceleration asks of it, so the one whose peak grip is lower gives up first.
void findLimit(const ReportGroup& group, Balance& b) {
  const std::optional<CurveAnalysis>& front = group.axles[0].lateral;
  const std::optional<CurveAnalysis>& rear = group.axles[1].lateral;
  if (!front || !rear) {
    b.limitReading = LimitReading::notFitted;
    return;
  }
  const double f = b.frontPeak = front->peakGrip.value, r = b.rearPeak = rear->peakGrip.value;
  const bool frontReached = front->fit.peak.reached, rearReached = rear->fit.peak.reached;
  if (frontReached != rearReached) {
    b.limit = frontReached ? 0 : 1;
    b.limitReading = LimitReading::oneReached;
  } else if (!frontReached) {
    b.limitReading = LimitReading::neitherReached;
  } else {
    // Both reached: the same resamples give both peaks, so their difference has an interval.
    std::vector<double> difference;
    for (std::size_t k = 0; k < front->peakGrip.replicates.size() && k < rear->peakGrip.replicates.size(); ++k) {
      difference.push_back(front->peakGrip.replicates[k] - rear->peakGrip.replicates[k]);
    }
    const Interval ci = interval95(difference, f - r);
    b.limitReading = LimitReading::bothReached;
    if (ci.high < 0.0) b.limit = 0;
    if (ci.low > 0.0) b.limit = 1;
  }
}

}  // namespace

void appendAccelerations(const Replay& replay, std::vector<float>& lateral, std::vector<float>& longitudinal) {
  const std::size_t n = replay.sampleCount();
  const double interval = widen(replay.header.sampleInterval);
  const auto span = std::max<std::size_t>(1, static_cast<std::size_t>(std::lround(differenceSpan / interval)));
  const CarTrack& car = replay.car;
  roomFor(lateral, n);
  roomFor(longitudinal, n);
  // The component of the acceleration along an axis, in g; a damaged
  // replay's positions may give more than a float holds.
  const auto along = [](const double a[3], const Vector3& axis) {
    const double g = (a[0] * widen(axis.x) + a[1] * widen(axis.y) + a[2] * widen(axis.z)) / length(axis) /
                     gravityAcceleration;
    return std::fabs(g) < 1e30 ? toFloat(g) : std::numeric_limits<float>::quiet_NaN();
  };
  for (std::size_t i = 0; i < n; ++i) {
    // As wide a step as both sides allow; none at the ends.
    const std::size_t k = std::min({span, i, n - 1 - i});
    if (k == 0) {
      lateral.push_back(std::numeric_limits<float>::quiet_NaN());
      longitudinal.push_back(std::numeric_limits<float>::quiet_NaN());
      continue;
    }
    const Vector3& before = car.position[i - k];
    const Vector3& now = car.position[i];
    const Vector3& after = car.position[i + k];
    const double step = static_cast<double>(k) * interval;
    const double a[3] = {(widen(after.x) - 2.0 * widen(now.x) + widen(before.x)) / (step * step),
                         (widen(after.y) - 2.0 * widen(now.y) + widen(before.y)) / (step * step),
                         (widen(after.z) - 2.0 * widen(now.z) + widen(before.z)) / (step * step)};
    lateral.push_back(along(a, car.axisX[i]));
    longitudinal.push_back(along(a, car.axisY[i]));
  }
}

Balance analyseBalance(const ReportGroup& group, const Resamples& resamples) {
  Balance b;
  diagramPoints(group, b);
  fitGradient(group, resamples, b);
  binnedMedians(b);
  findLimit(group, b);
  return b;
}

}  // namespace skidlog
