#include "report/laps/corners/corner_laps.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "numeric/precision.h"
#include "report/fit/statistics.h"
#include "report/laps/phases/corner_phases.h"
#include "report/laps/corners/driver_actions.h"

namespace skidlog {
namespace {

constexpr double unknown = std::numeric_limits<double>::quiet_NaN();

// A lap's times through a corner's part of the lap: the corner itself, its
// segment (from the middle of the straight before to the middle of the one
// after), and the segment's halves before and after the apex, s.
struct CornerTimes {
  double corner;
  double segment;
  double entry;
  double exit;
};

CornerTimes cornerTimes(const LapClock& clock, const CornerResult& c) {
  const double start = clock.timeAt(c.segmentStart), apex = clock.timeAt(c.corner.apex);
  const double end = clock.timeAt(c.segmentEnd);
  return {clock.timeAt(c.corner.end) - clock.timeAt(c.corner.start), end - start, apex - start, end - apex};
}

// A lap's segment times, `t`, and its halves against the reference's.
void segmentTimes(CornerLap& c, const CornerTimes& t, const CornerTimes& reference) {
  c.value[segmentTime] = t.segment;
  c.value[segmentDelta] = t.segment - reference.segment;
  c.value[entryDelta] = t.entry - reference.entry;
  c.value[exitDelta] = t.exit - reference.exit;
}

// The actions of a lap through the corner, and its segment's times against
// the reference's.
// `liftFrom` is the sample where the lap's throttle came back on in the
// corners before; it moves on to this corner's.
void actionsAndSegment(CornerLap& c, const CornerResult& result, CornerReach reach, std::size_t& liftFrom,
                       const LapInput& in, const PlacedLap& placed, const CornerTimes& reference,
                       const LapPath& path) {
  reach.liftFrom = liftFrom;
  const CornerActions a = cornerActions(result.corner, reach, placed.distance, in.summary->lap, path, in.interval);
  if (a.throttleOnSample != static_cast<std::size_t>(-1)) liftFrom = a.throttleOnSample;
  c.lifts = a.lifts;
  c.value[brakeAt] = a.brakeAt;
  c.value[brakeReleaseAt] = a.brakeReleaseAt;
  c.value[peakBrake] = a.peakBrake;
  c.value[minSpeedAt] = a.minSpeedAt;
  c.value[gearAtMinSpeed] = a.gearAtMinSpeed;
  c.value[rpmAtMinSpeed] = a.rpmAtMinSpeed;
  c.value[fullThrottleAt] = a.fullThrottleAt;
  c.value[throttleOnAt] = a.throttleOnAt;
  c.value[coastSeconds] = a.coastSeconds;
  c.value[lineEntry] = a.lineEntry;
  c.value[lineApex] = a.lineApex;
  c.value[lineExit] = a.lineExit;
  c.value[steerApex] = a.steerApexDeg;
  c.pedalsClamped = a.pedalsClamped;
  c.gearOutOfRange = a.gearOutOfRange;
  segmentTimes(c, cornerTimes(placed.clock, result), reference);
}

// The lap through `corner`, whose time through it on the reference lap is
// `referenceTime` s.
CornerLap cornerLap(const TrackCorner& corner, double referenceTime, std::size_t lapIndex, const LapInput& in,
                    const PlacedLap& placed, const GroupChannels& channels, const ReportGroup& group) {
  CornerLap c;
  c.lap = lapIndex;
  c.value.fill(unknown);
  c.entrySpeed = c.exitSpeed = c.delta = unknown;
  const std::size_t n = in.summary->samples;
  const std::size_t first = sampleAt(placed, corner.start, in.interval, n);
  const std::size_t last = sampleAt(placed, corner.end, in.interval, n);
  if (first >= n || last >= n || placed.clock.reach() < corner.end) return c;
  const std::vector<float>& speed = in.summary->lap.speed;
  c.entrySpeed = widen(speed[first]);
  c.exitSpeed = widen(speed[last]);
  double slowest = std::numeric_limits<double>::infinity();
  for (std::size_t i = first; i <= last; ++i) slowest = std::min(slowest, widen(speed[i]));
  c.value[cornerMinSpeed] = slowest;
  c.value[cornerTime] = placed.clock.timeAt(corner.end) - placed.clock.timeAt(corner.start);
  c.delta = c.value[cornerTime] - referenceTime;
  c.phases = cornerPhases({placed.distance, speed, group.lateralAcceleration, channels.understeer,
                           channels.use[0], channels.use[1], in.summary->firstSample, first, last, in.interval,
                           corner.start, corner.end, &group.platformSamples.channels, corner.left});
  c.value[understeerEntry] = c.phases[entryPhase].understeer;
  c.value[understeerMiddle] = c.phases[middlePhase].understeer;
  c.value[understeerExit] = c.phases[exitPhase].understeer;
  // Grip use around the apex.
  const double apexHalf = std::max(10.0, 0.15 * (corner.end - corner.start));
  std::array<std::vector<double>, axleCount> use, useOfPeak;
  for (std::size_t i = first; i <= last; ++i) {
    const std::size_t s = in.summary->firstSample + i;
    if (std::fabs(placed.distance[i] - corner.apex) > apexHalf) continue;
    for (std::size_t a = 0; a < axleCount; ++a) {
      if (std::isfinite(channels.use[a][s])) use[a].push_back(channels.use[a][s]);
      if (std::isfinite(channels.useOfPeak[a][s])) useOfPeak[a].push_back(channels.useOfPeak[a][s]);
    }
  }
  c.value[frontUse] = mean(use[0]);
  c.value[rearUse] = mean(use[1]);
  c.value[frontUseOfPeak] = mean(useOfPeak[0]);
  c.value[rearUseOfPeak] = mean(useOfPeak[1]);
  return c;
}

// Each corner number of group `g` over its laps through the corner.
CornerGroup cornerGroup(std::size_t g, const std::vector<CornerLap>& laps, const std::vector<LapInput>& inputs) {
  CornerGroup out;
  out.group = g;
  std::vector<double> values;
  for (std::size_t key = 0; key < cornerKeyCount; ++key) {
    values.clear();
    for (const CornerLap& c : laps) {
      if (inputs[c.lap].group != g) continue;
      values.push_back(c.value[key]);
      if (atCornerLimit(key, c.value[key])) ++out.atLimit[key];
    }
    out.value[key] = overLaps(values);
    out.laps = std::max(out.laps, out.value[key].laps);
  }
  for (std::size_t p = 0; p < phaseCount; ++p) {
    for (std::size_t key = 0; key < phaseKeyCount; ++key) {
      values.clear();
      for (const CornerLap& c : laps) {
        if (inputs[c.lap].group == g) values.push_back(phaseValue(c.phases[p], key));
      }
      out.phase[p][key] = overLaps(values);
    }
  }
  for (const CornerLap& c : laps) {
    if (inputs[c.lap].group != g || !c.lifts) continue;
    ++out.liftKnown;
    if (*c.lifts) ++out.lifting;
  }
  return out;
}

// Whether `corner` starts within sweeperGap of the end of the bend before
// it, `before` (a sweeper of its own, or a corner), and the reference takes
// it flat: no brake and no lift. Such a sweeper is the exit of the corner
// before it.
bool flatSweeper(const CornerResult& corner, const TrackCorner& before, std::size_t reference) {
  const CornerLap& r = corner.laps[reference];
  return corner.corner.start - before.end < sweeperGap && r.lifts.has_value() && !*r.lifts &&
         !std::isfinite(r.value[peakBrake]);
}

// `owner` takes `sweeper`'s segment as the rest of its exit: its segment
// ends where the sweeper's did, and every lap's segment times follow.
void takeExit(CornerResult& owner, const CornerResult& sweeper, const std::vector<PlacedLap>& placed,
              std::size_t reference) {
  owner.segmentEnd = sweeper.segmentEnd;
  owner.sweepers.push_back(sweeper.corner.name);
  const CornerTimes referenceTimes = cornerTimes(placed[reference].clock, owner);
  for (CornerLap& c : owner.laps) {
    if (std::isfinite(c.value[cornerTime])) segmentTimes(c, cornerTimes(placed[c.lap].clock, owner), referenceTimes);
  }
}

}  // namespace

std::vector<CornerResult> analyseCorners(std::span<const ReportGroup> groups, const std::vector<LapInput>& laps,
                                         const std::vector<PlacedLap>& placed, std::size_t reference,
                                         const LapPath& path, const std::vector<GroupChannels>& channels) {
  const std::vector<TrackCorner> corners = findCorners(path);
  std::vector<CornerResult> out;
  std::vector<std::size_t> liftFrom;
  for (std::size_t k = 0; k < corners.size(); ++k) {
    const TrackCorner& corner = corners[k];
    const bool first = k == 0, last = k + 1 == corners.size();
    CornerResult result;
    result.corner = corner;
    // Each half of a straight goes with the corner beside it.
    result.segmentStart = first ? 0.0 : (corners[k - 1].end + corner.start) / 2.0;
    result.segmentEnd = last ? path.length() : (corner.end + corners[k + 1].start) / 2.0;
    const CornerReach reach{first ? 0.0 : corners[k - 1].end, last ? path.length() : corners[k + 1].start};
    const CornerTimes referenceTimes = cornerTimes(placed[reference].clock, result);
    liftFrom.resize(laps.size(), 0);
    for (std::size_t l = 0; l < laps.size(); ++l) {
      const LapInput& in = laps[l];
      CornerLap c = cornerLap(corner, referenceTimes.corner, l, in, placed[l], channels[in.group], groups[in.group]);
      if (std::isfinite(c.value[cornerTime])) {
        actionsAndSegment(c, result, reach, liftFrom[l], in, placed[l], referenceTimes, path);
      }
      result.laps.push_back(c);
    }
    // A flat sweeper's time is the exit of the corner before it; its
    // numbers go with it.
    if (!out.empty() && flatSweeper(result, corners[k - 1], reference)) {
      takeExit(out.back(), result, placed, reference);
      continue;
    }
    out.push_back(std::move(result));
  }
  // A corner keeps the name the path gives it, whichever sweepers are folded.
  for (CornerResult& c : out) {
    for (std::size_t g = 0; g < groups.size(); ++g) c.groups.push_back(cornerGroup(g, c.laps, laps));
  }
  return out;
}

}  // namespace skidlog
