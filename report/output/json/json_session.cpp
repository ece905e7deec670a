#include "report/output/json/json_session.h"

#include <cmath>
#include <string>

#include "report/output/words/number_text.h"
#include "report/output/words/corner_words.h"
#include "report/output/words/track_words.h"

namespace skidlog {
namespace {

Json interval(const Interval& i, bool known) {
  return known ? Json::array({number(i.low), number(i.high)}) : Json(nullptr);
}

Json groupJson(const ReportData& report, const TrackAnalysis& track, const SessionGroup& g) {
  Json leftOut = Json::array();
  for (const LeftOut& l : g.leftOut) leftOut.push_back(Json{{"file", l.file}, {"reason", leftOutText(l)}});
  Json varies = Json::array();
  for (std::size_t i = 0; i < g.variesMost.size(); ++i) {
    varies.push_back(Json{{"corner", track.corners[g.variesMost[i]].corner.name}, {"spread_s", number(g.variesBy[i])}});
  }
  return Json{{"label", report.groups[g.group].label},
              {"valid_laps", g.validLaps.size()},
              {"left_out", std::move(leftOut)},
              {"pace_s", number(g.pace.mean)},
              {"pace_ci", interval(g.pace.ci, g.pace.hasInterval())},
              {"pace_df", g.pace.hasInterval() ? number(g.pace.df) : Json(nullptr)},
              {"best_lap_s", number(g.bestLap)},
              {"best_of_segments_s", number(g.bestOfSegments)},
              {"consistency_s", number(g.consistency)},
              {"consistency_ci", interval(g.consistencyCi, std::isfinite(g.consistency))},
              {"gap_s", number(g.gap.delta)},
              {"gap_ci", interval(g.gap.ci, g.gap.hasInterval() || g.gap.delta == 0.0)},
              {"rank", g.rank > 0 ? Json(g.rank) : Json(nullptr)},
              {"rank_range", g.rankLow > 0 ? Json::array({g.rankLow, g.rankHigh}) : Json(nullptr)},
              {"varies_most", std::move(varies)}};
}

Json cellJson(const ReportData& report, const TrackAnalysis& track, const SessionCell& c) {
  const Difference& d = c.time;
  return Json{{"corner", track.corners[c.corner].corner.name},
              {"label", report.groups[d.to].label},
              {"delta_s", number(d.delta.value)},
              {"ci", interval(d.delta.ci, d.hasInterval || d.delta.value == 0.0)},
              {"verdict", d.verdict}};
}

Json fastGainJson(const TrackAnalysis& track, const FastGain& f, SpeedUnit unit) {
  const Difference& d = f.delta;
  return Json{{"corner", track.corners[f.corner].corner.name},
              {"quantity", d.quantity},
              {"delta", number(d.delta.value)},
              {"ci", interval(d.delta.ci, d.hasInterval)},
              {"verdict", d.verdict},
              {"text", fastGainText(f, unit)}};
}

}  // namespace

Json sessionJson(const ReportData& report) {
  if (report.tracks.empty()) return nullptr;
  const TrackAnalysis& track = report.tracks.front();
  const Session& s = track.session;
  Json groups = Json::array(), corners = Json::array(), gains = Json::array(), fast = Json::array();
  for (const SessionGroup& g : s.groups) groups.push_back(groupJson(report, track, g));
  for (const SessionCell& c : s.cells) corners.push_back(cellJson(report, track, c));
  for (const FastGain& f : s.fastGain) gains.push_back(fastGainJson(track, f, report.speedUnit));
  for (const std::size_t g : s.fastGroups) fast.push_back(report.groups[g].label);
  std::vector<std::string> notes = sessionNotes(s);
  if (report.tracks.size() > 1) notes.push_back("The session is of " + track.track + "; the report's other tracks are not ranked.");
  return Json{{"track", track.track},
              {"layout", track.layout},
              {"slow_lap_rule", "a complete lap slower than " + fixedText(100.0 * slowLapShare, 0) +
                                    " % of its driver's fastest is left out of his pace"},
              {"fastest", s.ranked ? Json(report.groups[s.fastest].label) : Json(nullptr)},
              {"rank_draws", rankDraws},
              {"groups", std::move(groups)},
              {"corners", std::move(corners)},
              {"faster_third", std::move(fast)},
              {"fast_gain", std::move(gains)},
              {"notes", std::move(notes)}};
}

}  // namespace skidlog
