#include "report/laps/lap_traces.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "numeric/precision.h"

namespace skidlog {
namespace {

constexpr double unknown = std::numeric_limits<double>::quiet_NaN();

}  // namespace

std::vector<double> tracePoints(double length) {
  const double spacing = std::max(traceSpacing, length / static_cast<double>(maxTracePoints - 1));
  std::vector<double> at;
  for (double s = 0.0; s < length; s = static_cast<double>(at.size()) * spacing) at.push_back(s);
  at.push_back(length);
  return at;
}

void fillLapResult(LapResult& out, const LapInput& in, const PlacedLap& placed, const PlacedLap& reference,
                   const LapInput& referenceInput, const TrackAnalysis& track, const GroupChannels& channels) {
  const ReplaySummary& r = *in.summary;
  out.group = in.group;
  out.replay = in.replay;
  out.file = r.file;
  // A lap whose positions leave the path before the line is partial too.
  out.complete = in.complete && placed.clock.reach() >= track.path.length();
  out.lapTime = out.complete ? in.lapTime : unknown;
  for (std::size_t k = 0; k + 1 < r.lap.splitsMs.size(); ++k) out.splits.push_back(r.lap.splitsMs[k] / 1000.0);
  // Both times read off the two laps' clocks at one place, as the traces'
  // delta is: a lap against its own copy is then exactly zero there, where
  // the reference's recorded split, turned into a place and back, is not.
  for (const double at : track.referenceSplitAt) {
    out.deltaAtSplits.push_back(placed.clock.timeAt(at) - reference.clock.timeAt(at));
  }
  out.deltaAtLine = out.complete ? in.lapTime - referenceInput.lapTime : unknown;
  out.reach = placed.clock.reach();
  for (const double at : track.traceAt) {
    out.delta.push_back(placed.clock.timeAt(at) - reference.clock.timeAt(at));
    const std::size_t i = sampleAt(placed, at, in.interval, r.samples);
    const bool reached = i < r.samples;
    out.speed.push_back(reached ? widen(r.lap.speed[i]) : unknown);
    out.frontUse.push_back(reached ? channels.use[0][in.summary->firstSample + i] : unknown);
    out.rearUse.push_back(reached ? channels.use[1][in.summary->firstSample + i] : unknown);
    out.throttle.push_back(reached ? widen(r.lap.throttle[i]) : unknown);
    out.brake.push_back(reached ? widen(r.lap.brake[i]) : unknown);
    out.steer.push_back(reached ? widen(r.lap.steerDeg[i]) : unknown);
    out.gear.push_back(reached ? widen(r.lap.gear[i]) : unknown);
  }
}

}  // namespace skidlog
