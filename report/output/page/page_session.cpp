#include "report/output/page/page_session.h"
#include "report/output/words/corner_words.h"
#include "report/output/words/track_words.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace skidlog {
namespace {

// [value, low, high]: low and high null without an interval.
void withInterval(JsonText& j, double value, const Interval& ci, bool known, int decimals) {
  const double none = std::numeric_limits<double>::quiet_NaN();
  j.beginArray().number(value, decimals).number(known ? ci.low : none, decimals);
  j.number(known ? ci.high : none, decimals).endArray();
}

void group(JsonText& j, const ReportData& report, const TrackAnalysis& t, const SessionGroup& g) {
  j.beginObject().key("group").integer(static_cast<std::int64_t>(g.group));
  j.key("label").string(report.groups[g.group].label);
  j.key("valid_laps").integer(static_cast<std::int64_t>(g.validLaps.size())).key("left_out").beginArray();
  for (const LeftOut& l : g.leftOut) j.beginArray().string(l.file).string(leftOutText(l)).endArray();
  j.endArray().key("pace_s");
  withInterval(j, g.pace.mean, g.pace.ci, g.pace.hasInterval(), 3);
  j.key("gap_s");
  withInterval(j, g.gap.delta, g.gap.ci, g.gap.hasInterval() || g.gap.delta == 0.0, 3);
  j.key("consistency_s");
  withInterval(j, g.consistency, g.consistencyCi, std::isfinite(g.consistency), 3);
  j.key("best_lap_s").number(g.bestLap, 3).key("best_of_segments_s").number(g.bestOfSegments, 3);
  j.key("rank").integer(static_cast<std::int64_t>(g.rank));
  j.key("rank_range").beginArray().integer(static_cast<std::int64_t>(g.rankLow));
  j.integer(static_cast<std::int64_t>(g.rankHigh)).endArray();
  std::vector<std::string> varies;
  for (const std::size_t c : g.variesMost) varies.push_back(t.corners[c].corner.name);
  j.key("varies_most").strings(varies).endObject();
}

}  // namespace

void pageSession(JsonText& j, const ReportData& report) {
  j.key("session");
  if (report.tracks.empty()) {
    j.null();
    return;
  }
  const TrackAnalysis& t = report.tracks.front();
  const Session& s = t.session;
  j.beginObject().key("fastest").integer(s.ranked ? static_cast<std::int64_t>(s.fastest) : -1);
  std::vector<std::string> corners;
  for (const CornerResult& c : t.corners) corners.push_back(c.corner.name);
  j.key("corners").strings(corners).key("groups").beginArray();
  for (const SessionGroup& g : s.groups) group(j, report, t, g);
  // Each cell: its group, corner, and [delta, low, high], claimed or not.
  j.endArray().key("cells").beginArray();
  for (const SessionCell& c : s.cells) {
    const Difference& d = c.time;
    j.beginArray().integer(static_cast<std::int64_t>(d.to)).integer(static_cast<std::int64_t>(c.corner));
    j.number(d.delta.value, 3).number(d.hasInterval ? d.delta.ci.low : d.delta.value, 3);
    j.number(d.hasInterval ? d.delta.ci.high : d.delta.value, 3).boolean(claimed(d.verdict)).endArray();
  }
  j.endArray().key("faster_third").beginArray();
  for (const std::size_t g : s.fastGroups) j.integer(static_cast<std::int64_t>(g));
  j.endArray().key("fast_gain").beginArray();
  for (const FastGain& f : s.fastGain) {
    j.beginObject().key("corner").string(t.corners[f.corner].corner.name).key("quantity").string(f.delta.quantity);
    j.key("claimed").boolean(claimed(f.delta.verdict)).key("text").string(fastGainText(f, report.speedUnit)).endObject();
  }
  j.endArray().key("notes").strings(sessionNotes(s)).endObject();
}

}  // namespace skidlog
