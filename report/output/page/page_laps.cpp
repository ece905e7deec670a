#include "report/output/page/page_laps.h"
#include "report/output/words/corner_words.h"
#include "report/output/words/why_words.h"

#include <array>
#include <limits>
#include <vector>

namespace skidlog {
namespace {

// A lap; its traces only where `traced`, else its times alone.
void lap(JsonText& j, const ReportData& report, const LapResult& l, bool traced) {
  j.beginObject().key("file").string(l.file).key("group").integer(static_cast<std::int64_t>(l.group));
  j.key("label").string(report.groups[l.group].label).key("complete").boolean(l.complete);
  j.key("lapTime").number(l.lapTime, 3).key("traced").boolean(traced);
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
  j.key("lifts").integer(static_cast<std::int64_t>(g.lifting));
  j.key("liftsKnown").integer(static_cast<std::int64_t>(g.liftKnown));
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
  j.key("complete").integer(static_cast<std::int64_t>(g.completeLaps)).key("lapTime");
  overLaps(j, g.lapTime, 3);
  const std::vector<double> intervals(g.intervals.begin(), g.intervals.end());
  j.key("best").number(g.bestLapTime, 3).key("bestOfSegments").number(g.bestOfSegments, 3).key("intervals").numbers(intervals, 3);
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
  j.beginObject().key("name").string(k.name).key("left").boolean(k.left);
  // The reference lap's phases: where each begins and ends.
  std::vector<double> phaseAt;
  for (std::size_t p = 0; p < phaseCount; ++p) {
    const bool known = reference < c.laps.size();
    phaseAt.push_back(known ? c.laps[reference].phases[p].start : std::numeric_limits<double>::quiet_NaN());
    phaseAt.push_back(known ? c.laps[reference].phases[p].end : std::numeric_limits<double>::quiet_NaN());
  }
  j.key("phaseAt").numbers(phaseAt, 1);
  j.key("start").number(k.start, 1).key("apex").number(k.apex, 1).key("end").number(k.end, 1);
  j.key("apexX").number(k.apexX, 1).key("apexY").number(k.apexY, 1);
  j.key("angle").number(k.angleDeg, 0).key("radius").number(k.radius, 0);
  j.key("laps").beginArray();
  for (const CornerLap& l : c.laps) cornerLap(j, l);
  j.endArray().key("groups").beginArray();
  for (const CornerGroup& g : c.groups) {
    if (g.laps > 0) cornerGroup(j, g);
  }
  j.endArray().endObject();
}

// How the page shows each corner number: its name in words, its unit, its
// decimals, and its column in the corner tables (0: not there; 1 to 8 the
// corners' table, 9 on the driver's actions' table, so neither is wider than
// the page).
struct CornerColumn {
  const char* words;
  const char* unit;
  int decimals;
  int column;
};
constexpr std::array<CornerColumn, cornerKeyCount> cornerColumns = {{
    {"time", "s", 3, 1},
    {"minimum speed", "m/s", 2, 3},
    {"understeer on entry", "\u00b0", 2, 4},
    {"understeer in the middle", "\u00b0", 2, 5},
    {"understeer on exit", "\u00b0", 2, 6},
    {"front grip use", "", 2, 7},
    {"rear grip use", "", 2, 8},
    {"front use of its peak", "", 2, 0},
    {"rear use of its peak", "", 2, 0},
    {"braking point", "m", 1, 9},
    {"brake release", "m", 1, 0},
    {"peak brake", "", 2, 0},
    {"slowest point", "m", 1, 10},
    {"gear at the slowest", "", 1, 11},
    {"engine speed at the slowest", "rpm", 0, 12},
    {"full throttle", "m", 1, 13},
    {"back on the throttle", "m", 1, 0},
    {"coasting", "s", 2, 14},
    {"line at entry", "m", 2, 0},
    {"line at the apex", "m", 1, 15},
    {"line at exit", "m", 2, 0},
    {"steering at the apex", "\u00b0", 1, 0},
    {"segment time", "s", 3, 0},
    {"segment lost", "s", 3, 2},
    {"segment entry", "s", 3, 0},
    {"segment exit", "s", 3, 0},
}};

}  // namespace

void pageCornerKeys(JsonText& j) {
  j.key("cornerKeys").beginArray();
  for (std::size_t k = 0; k < cornerKeyCount; ++k) {
    const CornerColumn& c = cornerColumns[k];
    j.beginObject().key("key").string(cornerKeyNames[k]).key("words").string(c.words).key("unit").string(c.unit);
    j.key("decimals").integer(c.decimals).key("column").integer(c.column).endObject();
  }
  j.endArray();
}

void pageFindings(JsonText& j, const ReportData& report) {
  j.key("findings").beginArray();
  for (const Finding& f : report.findings) {
    j.beginObject().key("from").string(f.from).key("to").string(f.to).key("corners").beginArray();
    for (const CornerFinding& c : f.corners) {
      const Difference& t = c.timeLost;
      j.beginObject().key("corner").string(c.corner).key("lost").number(t.delta.value, 3);
      j.key("interval").boolean(t.hasInterval).key("low").number(t.delta.ci.low, 3).key("high").number(t.delta.ci.high, 3);
      j.key("verdict").string(t.verdict).key("sentence").string(findingSentence(c, report.speedUnit));
      if (c.why) {
        // The claimed evidence and the setup first; the rest after, which
        // the page folds.
        std::vector<std::string> lines, rest;
        for (const WhyLink& l : c.why->links) (shownFirst(l) ? lines : rest).push_back(whyLine(l, report.speedUnit));
        const std::size_t shown = lines.size();
        lines.insert(lines.end(), rest.begin(), rest.end());
        j.key("why").strings(lines).key("whyShown").integer(static_cast<std::int64_t>(shown));
        j.key("driversDiffer").boolean(c.why->driversDiffer);
      }
      j.endObject();
    }
    j.endArray().endObject();
  }
  j.endArray();
}

void pageTracks(JsonText& j, const ReportData& report) {
  j.key("tracks").beginArray();
  for (const TrackAnalysis& t : report.tracks) {
    j.beginObject().key("track").string(t.track).key("layout").string(t.layout);
    j.key("reference").integer(static_cast<std::int64_t>(t.reference)).key("length").number(t.path.length(), 1);
    j.key("speedBoundary").number(t.speedClasses.boundary, 2).key("speedClasses").beginArray();
    for (const std::vector<std::size_t>& members : t.speedClasses.corners) {
      std::vector<std::string> names;
      for (const std::size_t k : members) names.push_back(t.corners[k].corner.name);
      j.strings(names);
    }
    j.endArray();
    j.key("at").numbers(t.traceAt, 1).key("x").numbers(t.traceX, 1).key("y").numbers(t.traceY, 1);
    j.key("laps").beginArray();
    const std::vector<bool> traced = tracedLaps(t);
    for (std::size_t l = 0; l < t.laps.size(); ++l) lap(j, report, t.laps[l], traced[l]);
    j.endArray().key("groups").beginArray();
    for (const TrackGroup& g : t.groups) trackGroup(j, g);
    j.endArray().key("corners").beginArray();
    for (const CornerResult& c : t.corners) corner(j, c, t.reference);
    j.endArray().key("notes").strings(t.notes).endObject();
  }
  j.endArray();
}

}  // namespace skidlog
