#include "report/output/page/page_laps.h"

#include <array>
#include <limits>
#include <vector>

#include "report/output/words/track_words.h"

namespace skidlog {
namespace {

// A lap; its traces only where `traced` (the page knows a traced lap by its
// delta), else its times alone.
void lap(JsonText& j, const LapResult& l, bool traced) {
  j.beginObject().key("file").string(l.file).key("group").integer(static_cast<std::int64_t>(l.group));
  j.key("complete").boolean(l.complete);
  j.key("lap_time_s").number(l.lapTime, 3);
  if (traced) {
    j.key("delta").numbers(l.delta, 3).key("speed").numbers(l.speed, 2);
    j.key("frontUse").numbers(l.frontUse, 3).key("rearUse").numbers(l.rearUse, 3);
    j.key("throttle").numbers(l.throttle, 2).key("brake").numbers(l.brake, 2).key("steer").numbers(l.steer, 1);
    j.key("gear").numbers(l.gear, 0);
  }
  j.endObject();
}

// The laps whose traces the page holds: every lap of a track with at most
// maxTracedLaps; beyond, the reference and each group's best lap (a session
// of thirty drivers' ten laps would otherwise weigh 30 MB).
std::vector<bool> tracedLaps(const TrackAnalysis& t) {
  std::vector<bool> traced(t.laps.size(), t.laps.size() <= maxTracedLaps);
  if (t.reference < traced.size()) traced[t.reference] = true;
  for (const TrackGroup& g : t.groups) {
    if (g.completeLaps > 0 && g.bestLap < traced.size()) traced[g.bestLap] = true;
  }
  return traced;
}

// A lap through a corner as the page reads it: [lap, time lost against the
// reference, segment lost]; the rest of its numbers are in the JSON.
void cornerLap(JsonText& j, const CornerLap& c) {
  j.beginArray().integer(static_cast<std::int64_t>(c.lap)).number(c.delta, 3).number(c.value[segmentDelta], 3);
  j.endArray();
}

// A number over laps as [mean, low, high, laps]; low and high null with one
// lap; [null, null, null, 0] with none.
void overLaps(JsonText& j, const OverLaps& o, int digits) {
  const double none = std::numeric_limits<double>::quiet_NaN();
  j.beginArray().number(o.mean, digits);
  j.number(o.hasInterval() ? o.ci.low : none, digits).number(o.hasInterval() ? o.ci.high : none, digits);
  j.integer(static_cast<std::int64_t>(o.laps)).endArray();
}

void cornerGroup(JsonText& j, const CornerGroup& g) {
  j.beginObject().key("group").integer(static_cast<std::int64_t>(g.group));
  j.key("laps").integer(static_cast<std::int64_t>(g.laps));
  j.key("lifts_laps").integer(static_cast<std::int64_t>(g.lifting));
  j.key("lifts_known_laps").integer(static_cast<std::int64_t>(g.liftKnown));
  for (std::size_t k = 0; k < cornerKeyCount; ++k) {
    j.key(cornerKeyNames[k]);
    overLaps(j, g.value[k], 3);
  }
  // Each phase's numbers in the order of its keys.
  j.key("phases").beginArray();
  for (std::size_t p = 0; p < phaseCount; ++p) {
    j.beginArray();
    for (std::size_t k = 0; k < phaseKeyCount; ++k) overLaps(j, g.phase[p][k], 3);
    j.endArray();
  }
  j.endArray().endObject();
}

void trackGroup(JsonText& j, const TrackGroup& g) {
  j.beginObject().key("group").integer(static_cast<std::int64_t>(g.group));
  j.key("laps").integer(static_cast<std::int64_t>(g.laps));
  j.key("complete_laps").integer(static_cast<std::int64_t>(g.completeLaps)).key("lap_time_s");
  overLaps(j, g.lapTime, 3);
  const std::vector<double> intervals(g.intervals.begin(), g.intervals.end());
  j.key("best_lap_s").number(g.bestLapTime, 3).key("best_of_segments_s").number(g.bestOfSegments, 3);
  j.key("sample_interval_s").numbers(intervals, 3);
  j.key("deltaMean").numbers(g.deltaMean, 3).key("deltaLow").numbers(g.deltaLow, 3);
  j.key("deltaHigh").numbers(g.deltaHigh, 3);
  // Its understeer by phase, slow corners then fast.
  j.key("bySpeed").beginArray();
  for (std::size_t c = 0; c < speedClassCount; ++c) {
    j.beginArray();
    for (std::size_t p = 0; p < phaseCount; ++p) overLaps(j, g.balanceBySpeed[c][p], 3);
    j.endArray();
  }
  j.endArray().endObject();
}

void corner(JsonText& j, const CornerResult& c, std::size_t reference) {
  const TrackCorner& k = c.corner;
  j.beginObject().key("name").string(k.name).key("direction").string(k.left ? "left" : "right");
  // The reference lap's phases: where each begins and ends.
  std::vector<double> phaseAt;
  for (std::size_t p = 0; p < phaseCount; ++p) {
    const bool known = reference < c.laps.size();
    phaseAt.push_back(known ? c.laps[reference].phases[p].start : std::numeric_limits<double>::quiet_NaN());
    phaseAt.push_back(known ? c.laps[reference].phases[p].end : std::numeric_limits<double>::quiet_NaN());
  }
  j.key("phaseAt").numbers(phaseAt, 1);
  j.key("start_m").number(k.start, 1).key("apex_m").number(k.apex, 1).key("end_m").number(k.end, 1);
  j.key("apex_xy").beginArray().number(k.apexX, 1).number(k.apexY, 1).endArray();
  j.key("angle_deg").number(k.angleDeg, 0).key("radius_m").number(k.radius, 0);
  if (!c.sweepers.empty()) j.key("sweepers").strings(c.sweepers);
  j.key("laps").beginArray();
  for (const CornerLap& l : c.laps) cornerLap(j, l);
  j.endArray().key("groups").beginArray();
  for (const CornerGroup& g : c.groups) {
    if (g.laps > 0) cornerGroup(j, g);
  }
  j.endArray().endObject();
}

// The corner numbers in the columns of the page's two corner tables: the
// corner's, then the driver's actions (so neither is wider than the page).
// Their words, units and decimals are the quantity table's.
constexpr std::array<CornerKey, 8> cornerColumns = {cornerTime,      segmentDelta,    cornerMinSpeed, understeerEntry,
                                                    understeerMiddle, understeerExit, frontUse,       rearUse};
constexpr std::array<CornerKey, 7> actionColumns = {brakeAt,       minSpeedAt,     gearAtMinSpeed, rpmAtMinSpeed,
                                                    fullThrottleAt, coastSeconds,  lineApex};

template <std::size_t n>
void keys(JsonText& j, const std::array<CornerKey, n>& columns) {
  j.beginArray();
  for (const CornerKey k : columns) j.string(cornerKeyNames[k]);
  j.endArray();
}

}  // namespace

void pageCornerTables(JsonText& j) {
  j.key("cornerTables").beginObject().key("corners");
  keys(j, cornerColumns);
  j.key("actions");
  keys(j, actionColumns);
  // A phase's numbers in the order each group's phases list them.
  j.key("phases").beginArray();
  for (const char* key : phaseKeyNames) j.string(key);
  j.endArray().endObject();
}

void pageTracks(JsonText& j, const ReportData& report) {
  j.key("tracks").beginArray();
  for (const TrackAnalysis& t : report.tracks) {
    j.beginObject().key("track").string(t.track).key("layout").string(t.layout);
    j.key("reference_lap").integer(static_cast<std::int64_t>(t.reference)).key("length_m").number(t.path.length(), 1);
    j.key("speed_boundary_m_s").number(t.speedClasses.boundary, 2).key("speedClasses").beginArray();
    for (const std::vector<std::size_t>& members : t.speedClasses.corners) {
      std::vector<std::string> names;
      for (const std::size_t k : members) names.push_back(t.corners[k].corner.name);
      j.strings(names);
    }
    j.endArray();
    j.key("at").numbers(t.traceAt, 1).key("x").numbers(t.traceX, 1).key("y").numbers(t.traceY, 1);
    j.key("laps").beginArray();
    const std::vector<bool> traced = tracedLaps(t);
    for (std::size_t l = 0; l < t.laps.size(); ++l) lap(j, t.laps[l], traced[l]);
    j.endArray().key("groups").beginArray();
    for (const TrackGroup& g : t.groups) trackGroup(j, g);
    j.endArray().key("corners").beginArray();
    for (const CornerResult& c : t.corners) corner(j, c, t.reference);
    j.endArray().key("notes").strings(trackNotes(report.groups, t)).endObject();
  }
  j.endArray();
}

}  // namespace skidlog
