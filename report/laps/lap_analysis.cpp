#include "report/laps/lap_analysis.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "numeric/precision.h"
#include "report/analysis/number_text.h"
#include "report/fit/statistics.h"
#include "report/laps/corners/driver_actions.h"
#include "report/laps/grip/grip_channels.h"

namespace skidlog {
namespace {

constexpr double unknown = std::numeric_limits<double>::quiet_NaN();

// One lap as the analysis needs it: where it came from, its recorded times,
// and its samples placed along the reference path.
struct LapInput {
  std::size_t group = 0;
  std::size_t replay = 0;
  const ReplaySummary* summary = nullptr;
  bool complete = false;
  double lapTime = unknown;
  double interval = 0.0;
};

bool completeLap(const ReplaySummary& r) {
  const double interval = widen(r.interval);
  const double recorded = r.lap.splitsMs.back() / 1000.0;
  return interval > 0.0 && std::fabs(static_cast<double>(r.samples) * interval - recorded) <= interval * (1.0 + 1e-9);
}

// A lap placed along the path: each sample's distance and its clock.
struct PlacedLap {
  std::vector<double> distance;
  LapClock clock;
};

// The sample nearest the time the lap reached `at`; npos where it did not.
std::size_t sampleAt(const PlacedLap& lap, double at, double interval, std::size_t samples) {
  const double t = lap.clock.timeAt(at);
  if (!std::isfinite(t)) return static_cast<std::size_t>(-1);
  return std::min(static_cast<std::size_t>(std::lround(t / interval)), samples - 1);
}

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
  c.value[fullThrottleAt] = a.fullThrottleAt;
  c.value[throttleOnAt] = a.throttleOnAt;
  c.value[coastSeconds] = a.coastSeconds;
  c.value[lineEntry] = a.lineEntry;
  c.value[lineApex] = a.lineApex;
  c.value[lineExit] = a.lineExit;
  c.value[steerApex] = a.steerApexDeg;
  c.pedalsClamped = a.pedalsClamped;
  c.gearOutOfRange = a.gearOutOfRange;
  const CornerTimes t = cornerTimes(placed.clock, result);
  c.value[segmentTime] = t.segment;
  c.value[segmentDelta] = t.segment - reference.segment;
  c.value[entryDelta] = t.entry - reference.entry;
  c.value[exitDelta] = t.exit - reference.exit;
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
  // The phases: around the apex, and before and after it while braking and
  // while driving.
  const double apexHalf = std::max(10.0, 0.15 * (corner.end - corner.start));
  std::vector<double> entry, apex, exit;
  std::array<std::vector<double>, axleCount> use, useOfPeak;
  for (std::size_t i = first; i <= last; ++i) {
    const std::size_t s = in.summary->firstSample + i;
    const double d = placed.distance[i], ax = widen(group.longitudinalAcceleration[s]);
    const double u = channels.understeer[s];
    if (std::fabs(d - corner.apex) <= apexHalf) {
      if (std::isfinite(u)) apex.push_back(u);
      for (std::size_t a = 0; a < axleCount; ++a) {
        if (std::isfinite(channels.use[a][s])) use[a].push_back(channels.use[a][s]);
        if (std::isfinite(channels.useOfPeak[a][s])) useOfPeak[a].push_back(channels.useOfPeak[a][s]);
      }
    } else if (std::isfinite(u) && d < corner.apex && ax < -phaseAcceleration) {
      entry.push_back(u);
    } else if (std::isfinite(u) && d > corner.apex && ax > phaseAcceleration) {
      exit.push_back(u);
    }
  }
  c.value[understeerEntry] = median(entry);
  c.value[understeerApex] = median(apex);
  c.value[understeerExit] = median(exit);
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
  for (const CornerLap& c : laps) {
    if (inputs[c.lap].group != g || !c.lifts) continue;
    ++out.liftKnown;
    if (*c.lifts) ++out.lifting;
  }
  return out;
}

// The trace points of a path: every traceSpacing m (wider on a long track).
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
  const std::vector<std::int32_t>& referenceSplits = referenceInput.summary->lap.splitsMs;
  for (std::size_t k = 0; k < track.referenceSplitAt.size(); ++k) {
    out.deltaAtSplits.push_back(placed.clock.timeAt(track.referenceSplitAt[k]) - referenceSplits[k] / 1000.0);
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

// Every group's channels, each car's envelopes made once.
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

// The laps of every group, in group order; those without split times named
// in `messages`.
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

// The track's reference among `laps`: the named file when it is one of them
// and complete, else the fastest complete lap; npos where none is complete.
std::size_t referenceOf(const std::vector<LapInput>& laps, const std::optional<std::string>& named) {
  std::size_t best = static_cast<std::size_t>(-1);
  for (std::size_t l = 0; l < laps.size(); ++l) {
    if (!laps[l].complete) continue;
    if (named && laps[l].summary->file == *named) return l;
    if (best == static_cast<std::size_t>(-1) || laps[l].lapTime < laps[best].lapTime) best = l;
  }
  return best;
}

// Group g's laps of the track: lap time and delta at the line over its
// complete laps, its best lap, and the sample intervals of its laps.
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

// The group's best lap: the sum of each segment's fastest time over its
// complete laps that give every segment (all of them, unless a lap was lost
// from the path); NaN where none does.
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

// What the track's numbers cannot give, each kind once, naming the groups it
// concerns.
std::vector<std::string> trackNotes(std::span<const ReportGroup> groups, const TrackAnalysis& track) {
  std::vector<std::string> notes;
  for (std::size_t a = 0; a < axleCount; ++a) {
    std::string without;
    for (const ReportGroup& g : groups) {
      const std::optional<CurveAnalysis>& lateral = g.axles[a].lateral;
      if (lateral && lateral->fit.peak.reached) continue;
      without += (without.empty() ? "" : ", ") + g.label;
    }
    if (without.empty()) continue;
    const std::string key = std::string(axleNames[a]) + "_use_of_peak";
    notes.push_back(key + (groups.size() > 1 ? " (" + without + ")" : "") + ": the " + axleNames[a] +
                    " axle's lateral peak is not reached, so its use of the peak is not known; " + axleNames[a] +
                    "_use gives its use of the most grip the car's " + axleNames[a] + " axle shows in these laps.");
  }
  for (const bool pedals : {true, false}) {
    std::vector<std::string> files;
    for (const CornerResult& c : track.corners) {
      for (const CornerLap& l : c.laps) {
        const bool flagged = pedals ? l.pedalsClamped : l.gearOutOfRange;
        const std::string& file = track.laps[l.lap].file;
        if (flagged && std::find(files.begin(), files.end(), file) == files.end()) files.push_back(file);
      }
    }
    if (files.empty()) continue;
    std::string names;
    for (const std::string& f : files) names += (names.empty() ? "" : ", ") + f;
    notes.push_back(pedals ? names + ": a pedal outside 0 to 1 (or not a number) is taken at its nearest end (not "
                                     "pressed for not a number) for the braking and throttle places."
                           : names + ": the gear at the lowest speed is no gear (a damaged file), so gear_min is "
                                     "null there.");
  }
  for (const TrackGroup& g : track.groups) {
    if (g.completeLaps > 0 && std::isnan(g.bestOfSegments) && !track.corners.empty()) {
      notes.push_back((groups.size() > 1 ? groups[g.group].label + ": no" : "No") +
                      std::string(" complete lap gives every segment (a lap left the reference path), so there is "
                                  "no best of segments."));
    }
    if (g.laps == 1) {
      notes.push_back((groups.size() > 1 ? groups[g.group].label + " holds" : "The report holds") +
                      std::string(" one lap of this track: its numbers have no interval over laps."));
    }
  }
  return notes;
}

TrackAnalysis analyseTrack(std::span<const ReportGroup> groups, const std::vector<LapInput>& laps,
                           std::size_t reference, const std::vector<GroupChannels>& channels) {
  TrackAnalysis track;
  const LapInput& ref = laps[reference];
  track.track = ref.summary->track;
  track.layout = ref.summary->layout;
  track.reference = reference;
  // The line lies the last sample's travel beyond it: the lap time is the
  // samples' count times the interval.
  const LapSamples& refSamples = ref.summary->lap;
  const double toLine =
      widen(refSamples.speed.back()) * (ref.lapTime - static_cast<double>(ref.summary->samples - 1) * ref.interval);
  track.path = lapPath(refSamples.x, refSamples.y, toLine);
  if (track.path.points() < 2) return track;
  track.traceAt = tracePoints(track.path.length());
  for (const double at : track.traceAt) {
    double x, y;
    track.path.positionAt(at, x, y);
    track.traceX.push_back(x);
    track.traceY.push_back(y);
  }
  std::vector<PlacedLap> placed;
  for (const LapInput& in : laps) placed.push_back(place(track.path, in));
  const std::vector<std::int32_t>& splits = ref.summary->lap.splitsMs;
  for (std::size_t k = 0; k + 1 < splits.size(); ++k) {
    track.referenceSplitAt.push_back(placed[reference].clock.distanceAt(splits[k] / 1000.0));
  }
  track.laps.resize(laps.size());
  for (std::size_t l = 0; l < laps.size(); ++l) {
    fillLapResult(track.laps[l], laps[l], placed[l], placed[reference], ref, track, channels[laps[l].group]);
  }
  const std::vector<TrackCorner> corners = findCorners(track.path);
  std::vector<std::size_t> liftFrom;
  for (std::size_t k = 0; k < corners.size(); ++k) {
    const TrackCorner& corner = corners[k];
    const bool first = k == 0, last = k + 1 == corners.size();
    CornerResult result;
    result.corner = corner;
    // Each half of a straight goes with the corner beside it.
    result.segmentStart = first ? 0.0 : (corners[k - 1].end + corner.start) / 2.0;
    result.segmentEnd = last ? track.path.length() : (corner.end + corners[k + 1].start) / 2.0;
    const CornerReach reach{first ? 0.0 : corners[k - 1].end, last ? track.path.length() : corners[k + 1].start};
    const CornerTimes referenceTimes = cornerTimes(placed[reference].clock, result);
    liftFrom.resize(laps.size(), 0);
    for (std::size_t l = 0; l < laps.size(); ++l) {
      const LapInput& in = laps[l];
      CornerLap c = cornerLap(corner, referenceTimes.corner, l, in, placed[l], channels[in.group], groups[in.group]);
      if (std::isfinite(c.value[cornerTime])) {
        actionsAndSegment(c, result, reach, liftFrom[l], in, placed[l], referenceTimes, track.path);
      }
      result.laps.push_back(c);
    }
    for (std::size_t g = 0; g < groups.size(); ++g) {
      result.groups.push_back(cornerGroup(g, result.laps, laps));
    }
    track.corners.push_back(std::move(result));
  }
  for (std::size_t g = 0; g < groups.size(); ++g) {
    track.groups.push_back(trackGroup(g, track.laps, laps));
    bestOfSegments(track.groups.back(), track);
  }
  track.notes = trackNotes(groups, track);
  return track;
}

}  // namespace

std::vector<TrackAnalysis> analyseTracks(std::span<const ReportGroup> groups,
                                         const std::optional<std::string>& reference,
                                         std::vector<std::string>& messages) {
  const std::vector<LapInput> all = lapInputs(groups, messages);
  const std::vector<GroupChannels> channels = all.empty() ? std::vector<GroupChannels>{} : groupChannels(groups);
  // The tracks in order of their first lap.
  std::vector<std::pair<std::string, std::string>> keys;
  for (const LapInput& in : all) {
    const std::pair key{in.summary->track, in.summary->layout};
    if (std::find(keys.begin(), keys.end(), key) == keys.end()) keys.push_back(key);
  }
  std::vector<TrackAnalysis> tracks;
  for (const auto& key : keys) {
    std::vector<LapInput> laps;
    for (const LapInput& in : all) {
      if (in.summary->track == key.first && in.summary->layout == key.second) laps.push_back(in);
    }
    const std::size_t ref = referenceOf(laps, reference);
    if (ref >= laps.size()) {
      messages.push_back("no lap of " + key.first + (key.second.empty() ? "" : " " + key.second) +
                         " is complete, so its laps cannot be laid against a reference.");
      continue;
    }
    if (reference && laps[ref].summary->file != *reference) {
      for (const LapInput& in : laps) {
        if (in.summary->file == *reference) {
          messages.push_back(*reference + " is not a complete lap; the fastest complete lap is the reference.");
        }
      }
    }
    TrackAnalysis track = analyseTrack(groups, laps, ref, channels);
    if (track.path.points() >= 2) {
      tracks.push_back(std::move(track));
    } else {
      messages.push_back(laps[ref].summary->file + ", the fastest complete lap of " + key.first +
                         ", holds no usable path, so its track's laps cannot be laid against it.");
    }
  }
  return tracks;
}

namespace {

// "club: full brake in 2 of 2 laps": a group's laps at the limit of `key`.
std::string limitCount(CornerKey key, const CornerGroup& g, const std::string& label) {
  const OverLaps& o = g.value[key];
  std::string text = label + ": " + (key == peakBrake ? "full brake" : "no coasting") + " in " +
                     std::to_string(g.atLimit[key]) + " of " + std::to_string(o.laps) + (o.laps == 1 ? " lap" : " laps");
  if (g.atLimit[key] < o.laps) text += ", mean " + fixedText(o.mean, 2);
  return text;
}

// A number at a limit in every lap of one group says nothing of its spread:
// the comparison is marked not comparable, with both groups' counts.
void markAtLimit(Difference& d, CornerKey key, const CornerGroup& from, const CornerGroup& to,
                 const std::vector<std::string>& labels) {
  const bool fromAll = from.atLimit[key] == from.value[key].laps, toAll = to.atLimit[key] == to.value[key].laps;
  if ((!fromAll && !toAll) || !d.hasInterval) return;
  if (fromAll && toAll && from.value[key].mean == to.value[key].mean) {
    // Every lap of both at the same limit: alike, as far as can be seen.
    d.verdict = noDifferenceShown;
    d.notes.push_back("every lap of both groups at the limit (" + limitCount(key, from, labels[from.group]) + "; " +
                      limitCount(key, to, labels[to.group]) + ")");
    return;
  }
  d.verdict = notComparable;
  d.notes.push_back(limitCount(key, from, labels[from.group]) + "; " + limitCount(key, to, labels[to.group]) +
                    ": laps at the limit show no spread, so the difference cannot be judged");
}

}  // namespace

std::vector<Difference> compareLaps(const std::vector<TrackAnalysis>& tracks, const std::vector<std::string>& labels) {
  // The use of a peak is the fit's, compared with the tyres; the segment's
  // delta differs between groups as its time does.
  static constexpr std::array<CornerKey, 22> compared = {
      cornerTime,     cornerMinSpeed, understeerEntry, understeerApex, understeerExit, frontUse,
      rearUse,        brakeAt,        brakeReleaseAt,  peakBrake,      minSpeedAt,     gearAtMinSpeed,
      fullThrottleAt, throttleOnAt,   coastSeconds,    lineEntry,      lineApex,       lineExit,
      steerApex,      segmentTime,    entryDelta,      exitDelta};
  std::vector<Difference> out;
  for (const TrackAnalysis& track : tracks) {
    const std::string prefix = tracks.size() > 1 ? track.track + " " : "";
    for (std::size_t g = 1; g < track.groups.size(); ++g) {
      const OverLaps& from = track.groups[0].lapTime;
      const OverLaps& to = track.groups[g].lapTime;
      if (from.known() && to.known()) out.push_back(compareOverLaps(from, to, {0, g, prefix + "lap"}, "lap_time_s", 0.001));
    }
    for (const CornerResult& c : track.corners) {
      for (std::size_t g = 1; g < c.groups.size(); ++g) {
        for (const CornerKey key : compared) {
          const OverLaps& from = c.groups[0].value[key];
          const OverLaps& to = c.groups[g].value[key];
          if (!from.known() || !to.known()) continue;
          // The corner's time keeps the name it has among the differences.
          const char* quantity = key == cornerTime ? "corner_time_s" : cornerKeyNames[key];
          out.push_back(compareOverLaps(from, to, {0, g, prefix + c.corner.name}, quantity, cornerKeyResolution[key]));
          markAtLimit(out.back(), key, c.groups[0], c.groups[g], labels);
        }
      }
    }
  }
  return out;
}

}  // namespace skidlog
