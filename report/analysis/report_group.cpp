#include "report/analysis/report_group.h"

#include <algorithm>

#include "system/parallel_for.h"
#include "report/fit/bootstrap.h"

namespace skidlog {

void ReportGroup::add(const Replay& replay, ReplaySummary summary) {
  const std::size_t n = replay.sampleCount();
  const double interval = static_cast<double>(replay.header.sampleInterval);
  summary.samples = n;
  summary.interval = replay.header.sampleInterval;
  summary.firstSample = samples;
  replays.push_back(std::move(summary));
  appendTyrePoints(replay, {samples, blocks}, points);
  appendAccelerations(replay, lateralAcceleration, longitudinalAcceleration);
  replayBlocks.push_back(blockCount(n, interval));
  appendPlatformSamples(replay, replays.back().setup, lateralAcceleration, longitudinalAcceleration,
                        {samples, blocks, replayBlocks.back(), samplesPerBlock(n, interval)}, platformSamples);
  samples += static_cast<std::uint32_t>(n);
  blocks += replayBlocks.back();
}

void ReportGroup::shrinkToFit() {
  for (WheelPoints& p : points) p.shrinkToFit();
  replayBlocks.shrink_to_fit();
  lateralAcceleration.shrink_to_fit();
  longitudinalAcceleration.shrink_to_fit();
  platformSamples.shrinkToFit();
}

std::vector<float> ReportGroup::sampleIntervals() const {
  std::vector<float> intervals;
  for (const ReplaySummary& r : replays) intervals.push_back(r.interval);
  std::sort(intervals.begin(), intervals.end());
  intervals.erase(std::unique(intervals.begin(), intervals.end()), intervals.end());
  return intervals;
}

void analyseGroup(ReportGroup& group, std::uint64_t seed) {
  group.shrinkToFit();
  const TyrePoints& p = group.points;
  parallelFor(raf::wheelCount, [&](int w) {
    group.wheelSubsets[static_cast<std::size_t>(w)] = fitSubsets(p[static_cast<std::size_t>(w)]);
  });
  parallelFor(axleCount, [&](int axle) {
    const auto a = static_cast<std::size_t>(axle);
    group.axlePoints[a] = axlePoints(p[2 * a], group.wheelSubsets[2 * a].all, p[2 * a + 1], group.wheelSubsets[2 * a + 1].all);
    group.axleSubsets[a] = fitSubsets(group.axlePoints[a]);
  });
  std::vector<TyreSource> sources;
  for (std::size_t w = 0; w < p.size(); ++w) sources.push_back({&p[w], &group.wheelSubsets[w]});
  for (std::size_t a = 0; a < axleCount; ++a) sources.push_back({&group.axlePoints[a], &group.axleSubsets[a]});
  // One draw of the resamples for every estimate of the group.
  group.resamples = Resamples(group.replayBlocks, seed);
  const Resamples& resamples = group.resamples;
  group.lapsResampled = resamples.lapsResampled();
  std::vector<TyreAnalysis> tyres = analyseTyres(sources, resamples);
  for (std::size_t w = 0; w < group.wheels.size(); ++w) group.wheels[w] = std::move(tyres[w]);
  for (std::size_t a = 0; a < group.axles.size(); ++a) group.axles[a] = std::move(tyres[group.wheels.size() + a]);
  group.balance = analyseBalance(group, resamples);
  group.platform = analysePlatform(group.platformSamples, resamples);
}

}  // namespace skidlog
