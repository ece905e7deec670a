#include "report/laps/lap_analysis.h"

#include <array>
#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "report/quantity/quantities.h"
#include "system/system.h"

namespace skidlog {
namespace {

// The group of the two whose laps spread more, and by how much.
Disagreement widerSpread(const Difference& d, const OverLaps& from, const OverLaps& to) {
  const bool toWider = to.hasInterval() && !(from.hasInterval() && from.spread >= to.spread);
  const OverLaps& o = toWider ? to : from;
  Disagreement out;
  if (!o.hasInterval()) return out;
  out.group = toWider ? d.to : d.from;
  out.laps = o.laps;
  out.spread = o.spread;
  return out;
}

// Holds `d`'s interval to what its quantity can differ by on the track.
void bound(Difference& d, const TrackScale& scale, const OverLaps& from, const OverLaps& to) {
  const Quantity* q = quantityNamed(d.quantity);
  if (q == nullptr) return;
  d.reach = reachOf(*q, scale);
  d.disagreement = widerSpread(d, from, to);
  holdPastReach(d);
}

// Of the wider group's laps at a corner, the one furthest from the other
// group's mean, and the mean of its group's others: where the laps disagree
// (which the comparison's family may decide later), the lap a driver would
// look at first (a slide, another gear).
void nameTheLap(Difference& d, const TrackAnalysis& track, const CornerResult& c, CornerKey key) {
  Disagreement& w = d.disagreement;
  if (w.laps == 0) return;
  const double other = w.group == d.to ? d.fromValue : d.toValue;
  const CornerLap* furthest = nullptr;
  double sum = 0.0;
  std::size_t n = 0;
  for (const CornerLap& l : c.laps) {
    const double v = l.value[key];
    if (track.laps[l.lap].group != w.group || !std::isfinite(v)) continue;
    sum += v;
    ++n;
    if (furthest == nullptr || std::fabs(v - other) > std::fabs(furthest->value[key] - other)) furthest = &l;
  }
  if (furthest == nullptr || n < 2) return;
  w.lap = std::string(fileNameOf(track.laps[furthest->lap].file));
  w.lapValue = furthest->value[key];
  w.othersMean = (sum - w.lapValue) / static_cast<double>(n - 1);
}

// A group's laps at the limit of `key`.
LimitCount limitCount(CornerKey key, const CornerGroup& g) {
  return {g.group, g.atLimit[key], g.value[key].laps, g.value[key].mean};
}

// A number at a limit in every lap of one group says nothing of its spread:
// the comparison is marked not comparable, with both groups' counts.
void markAtLimit(Difference& d, CornerKey key, const CornerGroup& from, const CornerGroup& to) {
  const bool fromAll = from.atLimit[key] == from.value[key].laps, toAll = to.atLimit[key] == to.value[key].laps;
  if ((!fromAll && !toAll) || !d.hasInterval) return;
  DifferenceNote note(DifferenceNote::Reason::atLimit);
  note.brake = key == peakBrake;
  note.limits[0] = limitCount(key, from);
  note.limits[1] = limitCount(key, to);
  // Every lap of both at the same limit: alike, as far as can be seen.
  const bool alike = fromAll && toAll && from.value[key].mean == to.value[key].mean;
  if (alike) note.reason = DifferenceNote::Reason::bothAtLimit;
  d.verdict = alike ? noDifferenceShown : notComparable;
  d.notes.push_back(std::move(note));
}

// Whether two gearboxes' overall ratios differ (both known).
bool otherGearing(const std::vector<double>& a, const std::vector<double>& b) {
  if (a.empty() || b.empty()) return false;
  if (a.size() != b.size()) return true;
  for (std::size_t k = 0; k < a.size(); ++k) {
    if (std::fabs(a[k] - b[k]) > 1e-4 * std::fabs(a[k])) return true;
  }
  return false;
}

// The gear at the slowest point compares only between cars geared alike: in
// another gearbox the same engine speed is another gear.
void markGearing(Difference& d, const std::vector<std::vector<double>>& gearing, std::size_t g) {
  if (g >= gearing.size() || !otherGearing(gearing[0], gearing[g])) return;
  d.verdict = notComparable;
  DifferenceNote note(DifferenceNote::Reason::gearboxesDiffer);
  note.ratios[0] = gearing[0][0];
  note.ratios[1] = gearing[g][0];
  d.notes.push_back(std::move(note));
}

// Each phase number of corner `c` between the first group and group `g`,
// named by its phase (and wheel) beside its corner.
void comparePhases(const CornerResult& c, std::size_t g, const std::string& prefix, const TrackScale& scale,
                   std::vector<Difference>& out) {
  for (std::size_t p = 0; p < phaseCount; ++p) {
    for (std::size_t key = 0; key < phaseKeyCount; ++key) {
      const OverLaps& from = c.groups[0].phase[p][key];
      const OverLaps& to = c.groups[g].phase[p][key];
      if (!from.known() || !to.known()) continue;
      out.push_back(compareOverLaps(from, to, {0, g, prefix + c.corner.name}, phaseKeyNames[key], phaseKeyGrain[key]));
      bound(out.back(), scale, from, to);
      out.back().phase = phaseNames[p];
      if (const std::size_t w = phaseKeyWheel(key); w < raf::wheelCount) out.back().wheel = wheelNames[w];
    }
  }
}

// Each speed class's understeer by phase between the first group and group
// `g`: where "slow corners" or "fast corners".
void compareBySpeed(const TrackAnalysis& track, std::size_t g, const std::string& prefix, const TrackScale& scale,
                    std::vector<Difference>& out) {
  for (std::size_t c = 0; c < speedClassCount; ++c) {
    for (std::size_t p = 0; p < phaseCount; ++p) {
      const OverLaps& from = track.groups[0].balanceBySpeed[c][p];
      const OverLaps& to = track.groups[g].balanceBySpeed[c][p];
      if (!from.known() || !to.known()) continue;
      const std::string where = prefix + speedClassNames[c] + " corners";
      out.push_back(compareOverLaps(from, to, {0, g, where}, "understeer_deg", 0.01));
      bound(out.back(), scale, from, to);
      out.back().phase = phaseNames[p];
    }
  }
}

}  // namespace

TrackScale scaleOf(const TrackAnalysis& track) {
  TrackScale scale{track.path.length(), 0.0};
  for (const LapResult& l : track.laps) {
    if (l.complete && std::isfinite(l.lapTime)) scale.lapTime = std::max(scale.lapTime, l.lapTime);
  }
  if (!(scale.lapTime > 0.0)) scale.lapTime = std::numeric_limits<double>::infinity();
  return scale;
}

std::vector<Difference> compareLaps(const std::vector<TrackAnalysis>& tracks,
                                    const std::vector<std::vector<double>>& gearing) {
  // The use of a peak is the fit's, compared with the tyres; the segment's
  // delta differs between groups as its time does.
  static constexpr std::array<CornerKey, 23> compared = {
      cornerTime,     cornerMinSpeed, understeerEntry, understeerMiddle, understeerExit, frontUse,
      rearUse,        brakeAt,        brakeReleaseAt,  peakBrake,      minSpeedAt,     gearAtMinSpeed,
      rpmAtMinSpeed,  fullThrottleAt, throttleOnAt,    coastSeconds,   lineEntry,      lineApex,
      lineExit,       steerApex,      segmentTime,     entryDelta,     exitDelta};
  std::vector<Difference> out;
  for (const TrackAnalysis& track : tracks) {
    const std::string prefix = tracks.size() > 1 ? track.track + " " : "";
    const TrackScale scale = scaleOf(track);
    for (std::size_t g = 1; g < track.groups.size(); ++g) {
      const OverLaps& from = track.groups[0].lapTime;
      const OverLaps& to = track.groups[g].lapTime;
      if (!from.known() || !to.known()) continue;
      out.push_back(compareOverLaps(from, to, {0, g, prefix + "lap"}, "lap_time_s", 0.001));
      bound(out.back(), scale, from, to);
    }
    for (std::size_t g = 1; g < track.groups.size(); ++g) compareBySpeed(track, g, prefix, scale, out);
    for (const CornerResult& c : track.corners) {
      for (std::size_t g = 1; g < c.groups.size(); ++g) {
        for (const CornerKey key : compared) {
          const OverLaps& from = c.groups[0].value[key];
          const OverLaps& to = c.groups[g].value[key];
          if (!from.known() || !to.known()) continue;
          // The corner's time keeps the name it has among the differences.
          const char* quantity = key == cornerTime ? "corner_time_s" : cornerKeyNames[key];
          out.push_back(compareOverLaps(from, to, {0, g, prefix + c.corner.name}, quantity, cornerKeyGrain[key]));
          bound(out.back(), scale, from, to);
          nameTheLap(out.back(), track, c, key);
          markAtLimit(out.back(), key, c.groups[0], c.groups[g]);
          if (key == gearAtMinSpeed) markGearing(out.back(), gearing, g);
        }
        comparePhases(c, g, prefix, scale, out);
      }
    }
  }
  return out;
}

}  // namespace skidlog
