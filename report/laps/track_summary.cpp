#include "report/laps/track_summary.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <limits>
#include <string>

#include "report/quantity/quantities.h"

namespace skidlog {
namespace {

constexpr double unknown = std::numeric_limits<double>::quiet_NaN();

}  // namespace

TrackGroup trackGroup(std::size_t g, const std::vector<LapResult>& results, const std::vector<LapInput>& inputs) {
  TrackGroup out;
  out.group = g;
  out.bestLapTime = unknown;
  std::vector<double> times, deltas;
  for (std::size_t l = 0; l < results.size(); ++l) {
    const LapResult& r = results[l];
    if (r.group != g) continue;
    ++out.laps;
    out.intervals.push_back(inputs[l].summary->interval);
    if (!r.complete) continue;
    ++out.completeLaps;
    times.push_back(r.lapTime);
    deltas.push_back(r.deltaAtLine);
    if (!(r.lapTime >= out.bestLapTime)) {
      out.bestLapTime = r.lapTime;
      out.bestLap = l;
    }
  }
  std::sort(out.intervals.begin(), out.intervals.end());
  out.intervals.erase(std::unique(out.intervals.begin(), out.intervals.end()), out.intervals.end());
  // The delta band over the complete laps, point by point.
  std::vector<double> at;
  for (std::size_t k = 0; out.completeLaps >= 2 && k < results[0].delta.size(); ++k) {
    at.clear();
    for (const LapResult& r : results) {
      if (r.group == g && r.complete) at.push_back(r.delta[k]);
    }
    const OverLaps o = overLaps(at);
    out.deltaMean.push_back(o.mean);
    out.deltaLow.push_back(o.hasInterval() ? o.ci.low : unknown);
    out.deltaHigh.push_back(o.hasInterval() ? o.ci.high : unknown);
  }
  out.lapTime = overLaps(times);
  out.deltaAtLine = overLaps(deltas);
  return out;
}

void bestOfSegments(TrackGroup& g, const TrackAnalysis& track) {
  std::vector<bool> whole(track.laps.size(), false);
  for (std::size_t l = 0; l < track.laps.size(); ++l) {
    whole[l] = track.laps[l].group == g.group && track.laps[l].complete;
  }
  for (const CornerResult& c : track.corners) {
    for (const CornerLap& l : c.laps) {
      if (std::isnan(l.value[segmentTime])) whole[l.lap] = false;
    }
  }
  const bool any = std::find(whole.begin(), whole.end(), true) != whole.end();
  g.bestOfSegments = any && !track.corners.empty() ? 0.0 : unknown;
  for (const CornerResult& c : track.corners) {
    double best = unknown;
    std::size_t lap = 0;
    for (const CornerLap& l : c.laps) {
      const double t = l.value[segmentTime];
      if (!whole[l.lap] || t >= best) continue;
      best = t;
      lap = l.lap;
    }
    g.bestSegmentTime.push_back(best);
    g.bestSegmentLap.push_back(lap);
    g.bestOfSegments += best;
  }
}

}  // namespace skidlog
