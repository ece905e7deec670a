#include "report/laps/lap_analysis.h"

#include <algorithm>
#include <utility>

#include "numeric/precision.h"
#include "report/laps/corners/corner_laps.h"
#include "report/laps/grip/grip_channels.h"
#include "report/laps/lap_traces.h"
#include "report/laps/place/lap_inputs.h"
#include "report/laps/track_summary.h"

namespace skidlog {
namespace {

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
    track.laps[l].splitShift = l == reference
                                   ? std::vector<double>(track.referenceSplitAt.size(), 0.0)
                                   : pinToSplits(placed[l], track.path, laps[l], track.referenceSplitAt);
    fillLapResult(track.laps[l], laps[l], placed[l], placed[reference], ref, track, channels[laps[l].group]);
  }
  track.corners = analyseCorners(groups, laps, placed, reference, track.path, channels);
  for (std::size_t g = 0; g < groups.size(); ++g) {
    track.groups.push_back(trackGroup(g, track.laps, laps));
    bestOfSegments(track.groups.back(), track);
  }
  moderateSpreads(track);
  track.speedClasses = classifyCorners(track);
  for (TrackGroup& g : track.groups) g.balanceBySpeed = balanceBySpeed(track, track.speedClasses, g.group);
  track.session = analyseSession(track, groups);
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

}  // namespace skidlog
