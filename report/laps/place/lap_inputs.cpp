#include "report/laps/place/lap_inputs.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "numeric/precision.h"

namespace skidlog {
namespace {

constexpr double unknown = std::numeric_limits<double>::quiet_NaN();

// Its samples meet its recorded lap time within one sample.
bool completeLap(const ReplaySummary& r) {
  const double interval = widen(r.interval);
  const double recorded = r.lap.splitsMs.back() / 1000.0;
  return interval > 0.0 && std::fabs(static_cast<double>(r.samples) * interval - recorded) <= interval * (1.0 + 1e-9);
}

}  // namespace

std::size_t sampleAt(const PlacedLap& lap, double at, double interval, std::size_t samples) {
  const double t = lap.clock.timeAt(at);
  if (!std::isfinite(t)) return static_cast<std::size_t>(-1);
  return std::min(static_cast<std::size_t>(std::lround(t / interval)), samples - 1);
}

std::vector<LapInput> lapInputs(std::span<const ReportGroup> groups, std::vector<std::string>& messages) {
  std::vector<LapInput> laps;
  std::vector<std::string> noLap;
  for (std::size_t g = 0; g < groups.size(); ++g) {
    for (std::size_t k = 0; k < groups[g].replays.size(); ++k) {
      const ReplaySummary& r = groups[g].replays[k];
      if (!r.lap.recorded()) {
        noLap.push_back(r.file);
        continue;
      }
      if (r.samples < 2 || !(r.interval > 0.0f)) continue;
      LapInput in{g, k, &r, completeLap(r), unknown, widen(r.interval)};
      if (in.complete) in.lapTime = r.lap.splitsMs.back() / 1000.0;
      laps.push_back(in);
    }
  }
  if (!noLap.empty()) {
    std::string names;
    for (std::size_t k = 0; k < noLap.size(); ++k) names += (k == 0 ? "" : k + 1 == noLap.size() ? " and " : ", ") + noLap[k];
    messages.push_back(names + (noLap.size() == 1 ? " records" : " record") +
                       " no split times, so no lap: left out of the laps and corners.");
  }
  return laps;
}

PlacedLap place(const LapPath& path, const LapInput& in) {
  const LapSamples& s = in.summary->lap;
  std::vector<double> distance = alignToPath(path, s.x, s.y, in.interval);
  LapClock clock(distance, in.interval, path.length(), in.lapTime, in.complete);
  return {std::move(distance), std::move(clock)};
}

std::vector<double> pinToSplits(PlacedLap& lap, const LapPath& path, const LapInput& in,
                                std::span<const double> splitAt) {
  const std::vector<std::int32_t>& splits = in.summary->lap.splitsMs;
  std::vector<double> times;
  for (std::size_t k = 0; k + 1 < splits.size(); ++k) times.push_back(splits[k] / 1000.0);
  std::vector<double> shift = pinToSplits(lap.distance, lap.clock, splitAt, times, path.length(), in.complete);
  lap.clock = LapClock(lap.distance, in.interval, path.length(), in.lapTime, in.complete);
  return shift;
}

std::size_t referenceOf(const std::vector<LapInput>& laps, const std::optional<std::string>& named) {
  std::size_t best = static_cast<std::size_t>(-1);
  for (std::size_t l = 0; l < laps.size(); ++l) {
    if (!laps[l].complete) continue;
    if (named && laps[l].summary->file == *named) return l;
    if (best == static_cast<std::size_t>(-1) || laps[l].lapTime < laps[best].lapTime) best = l;
  }
  return best;
}

}  // namespace skidlog
