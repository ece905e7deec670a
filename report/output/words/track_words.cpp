#include "report/output/words/track_words.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <optional>

#include "report/output/words/number_text.h"
#include "report/quantity/quantities.h"

namespace skidlog {

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
                           : names + ": the gear at the lowest speed is no gear (a damaged file), so the gear "
                                     "at the slowest point is not known there.");
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
                      ": recorded every " + millisecondsText(static_cast<double>(g.intervals.back())) +
                      ", a damper's stroke is over between two samples, so the phases' damper speeds are null.");
    }
  }
  return notes;
}

std::string leftOutText(const LeftOut& l) {
  switch (l.why) {
    case LeftOut::Why::noLap:
      break;
    case LeftOut::Why::incomplete:
      return "incomplete: it ends " + fixedText(l.amount, 0) + " m before the line";
    case LeftOut::Why::samplesMissing:
      return "samples missing: its samples do not make up its recorded lap time";
    case LeftOut::Why::slow:
      return "slow: " + fixedText(l.amount, 3) + " s over the driver's fastest lap, beyond " +
             fixedText(100.0 * slowLapShare, 0) + " % of it";
  }
  return "no lap: it records no split times";
}

std::vector<std::string> sessionNotes(const Session& s) {
  std::vector<std::string> notes;
  if (s.paceWithoutInterval) {
    notes.emplace_back("A driver of one lap has no pace interval: no other driver's laps give a lap-to-lap spread.");
  }
  if (s.noRankRanges) notes.emplace_back("The ranks have no ranges: a driver's pace has no interval.");
  if (s.tooFewForFasterThird) notes.emplace_back("Where the faster drivers gain needs six drivers with a valid lap or more.");
  return notes;
}

}  // namespace skidlog
