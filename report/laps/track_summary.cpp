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
    // Named by the quantity table's words, as the page names the numbers.
    const std::string axle = axleNames[a];
    std::string words(quantityNamed(axle + "_use_of_peak")->words);
    words[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(words[0])));
    notes.push_back(words + (groups.size() > 1 ? " (" + without + ")" : "") + ": the " + axle +
                    " axle's lateral peak is not reached, so its use of the peak is not known; " +
                    std::string(quantityNamed(axle + "_use")->words) + " gives its use of the most grip the car's " +
                    axle + " axle shows in these laps.");
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
    if (g.laps > 0 && !g.intervals.empty() && static_cast<double>(g.intervals.back()) > longestDamperInterval) {
      notes.push_back(std::string("Damper speeds") + (groups.size() > 1 ? " (" + groups[g.group].label + ")" : "") +
                      ": recorded every " + std::to_string(std::lround(1000.0 * static_cast<double>(g.intervals.back()))) +
                      " ms, a damper's stroke is over between two samples, so the phases' damper speeds are null.");
    }
  }
  return notes;
}

}  // namespace skidlog
