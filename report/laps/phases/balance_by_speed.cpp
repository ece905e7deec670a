#include "report/laps/phases/balance_by_speed.h"

#include <algorithm>
#include <cmath>

#include "report/laps/lap_analysis.h"

namespace skidlog {
namespace {

// The corner's lap `lap` (into the track's laps: a corner holds every lap,
// in order), or null where it holds none.
const CornerLap* lapThrough(const CornerResult& c, std::size_t lap) {
  return lap < c.laps.size() && c.laps[lap].lap == lap ? &c.laps[lap] : nullptr;
}

}  // namespace

SpeedClasses classifyCorners(const TrackAnalysis& track) {
  SpeedClasses out;
  std::vector<double> speeds;
  for (const CornerResult& c : track.corners) {
    const CornerLap* l = lapThrough(c, track.reference);
    speeds.push_back(l != nullptr ? l->value[cornerMinSpeed] : std::numeric_limits<double>::quiet_NaN());
  }
  std::vector<double> known;
  for (const double v : speeds) {
    if (std::isfinite(v)) known.push_back(v);
  }
  if (known.empty()) return out;
  std::sort(known.begin(), known.end());
  const std::size_t n = known.size();
  out.boundary = n % 2 == 1 ? known[n / 2] : 0.5 * (known[n / 2 - 1] + known[n / 2]);
  for (std::size_t k = 0; k < speeds.size(); ++k) {
    if (!std::isfinite(speeds[k])) continue;
    out.corners[speeds[k] < out.boundary ? slowCorners : fastCorners].push_back(k);
  }
  return out;
}

ClassBalance balanceBySpeed(const TrackAnalysis& track, const SpeedClasses& classes, std::size_t group) {
  ClassBalance out;
  for (std::size_t c = 0; c < speedClassCount; ++c) {
    for (std::size_t p = 0; p < phaseCount; ++p) {
      std::vector<double> perLap;
      for (std::size_t lap = 0; lap < track.laps.size(); ++lap) {
        if (track.laps[lap].group != group) continue;
        double sum = 0.0;
        std::size_t n = 0;
        for (const std::size_t k : classes.corners[c]) {
          const CornerLap* l = lapThrough(track.corners[k], lap);
          if (l == nullptr || !std::isfinite(l->phases[p].understeer)) continue;
          sum += l->phases[p].understeer;
          ++n;
        }
        if (n > 0) perLap.push_back(sum / static_cast<double>(n));
      }
      out[c][p] = overLaps(perLap);
    }
  }
  return out;
}

}  // namespace skidlog
