#include "report/output/json/json_laps.h"
#include "report/output/words/corner_words.h"
#include "report/output/words/track_words.h"
#include "report/output/words/why_words.h"

#include <cmath>

namespace skidlog {
namespace {

Json numbers(const std::vector<double>& values) {
  Json out = Json::array();
  for (const double v : values) out.push_back(number(v));
  return out;
}

Json lapJson(const ReportData& report, const LapResult& lap) {
  return Json{{"file", lap.file},
              {"group", report.groups[lap.group].label},
              {"complete", lap.complete},
              {"lap_time_s", number(lap.lapTime)},
              {"splits_s", numbers(lap.splits)},
              {"delta_at_splits_s", numbers(lap.deltaAtSplits)},
              {"split_shift_m", numbers(lap.splitShift)},
              {"delta_at_line_s", number(lap.deltaAtLine)},
              {"reach_m", number(lap.reach)}};
}

Json cornerLapJson(const TrackAnalysis& track, const CornerLap& c) {
  Json j{{"file", track.laps[c.lap].file},
         {"entry_speed", number(c.entrySpeed)},
         {"min_speed", number(c.value[cornerMinSpeed])},
         {"exit_speed", number(c.exitSpeed)},
         {"time_s", number(c.value[cornerTime])},
         {"delta_s", number(c.delta)}};
  for (std::size_t key = understeerEntry; key < cornerKeyCount; ++key) j[cornerKeyNames[key]] = number(c.value[key]);
  j["lifts"] = c.lifts ? Json(*c.lifts) : Json(nullptr);
  Json phases = Json::object();
  for (std::size_t p = 0; p < phaseCount; ++p) {
    const PhaseValues& v = c.phases[p];
    Json atEnd = Json::object(), damper = Json::object();
    for (std::size_t w = 0; w < raf::wheelCount; ++w) {
      atEnd[wheelNames[w]] = number(v.atTravelEnd[w]);
      damper[wheelNames[w]] = number(v.damperRms[w]);
    }
    phases[phaseNames[p]] = Json{{"start_m", number(v.start)},
                                 {"end_m", number(v.end)},
                                 {"understeer_deg", number(v.understeer)},
                                 {"front_use", number(v.frontUse)},
                                 {"rear_use", number(v.rearUse)},
                                 {"roll_deg", number(v.roll)},
                                 {"lltd_front", number(v.lltdFront)},
                                 {"at_travel_end_s", std::move(atEnd)},
                                 {"damper_rms_mm_s", std::move(damper)}};
  }
  j["phases"] = std::move(phases);
  return j;
}

// A number over a group's laps: its mean as `key`, its 95 % interval as
// `key`_ci (null with fewer than two laps), the laps it rests on as `key`_laps.
void overLapsJson(Json& into, const std::string& key, const OverLaps& o) {
  into[key] = o.known() ? number(o.mean) : Json(nullptr);
  into[key + "_ci"] = o.hasInterval() ? Json::array({number(o.ci.low), number(o.ci.high)}) : Json(nullptr);
  into[key + "_laps"] = o.laps;
}

// A group's phase numbers over its laps, as overLapsJson gives them; a
// wheel's numbers keyed by wheel under the number's name, its interval and
// laps likewise.
Json groupPhasesJson(const CornerGroup& g) {
  Json out = Json::object();
  for (std::size_t p = 0; p < phaseCount; ++p) {
    Json phase = Json::object();
    for (std::size_t key = 0; key < phaseKeyCount; ++key) {
      const std::size_t w = phaseKeyWheel(key);
      if (w == raf::wheelCount) {
        overLapsJson(phase, phaseKeyNames[key], g.phase[p][key]);
        continue;
      }
      Json one = Json::object();
      overLapsJson(one, "v", g.phase[p][key]);
      const std::string name = phaseKeyNames[key];
      for (const char* suffix : {"", "_ci", "_laps"}) {
        if (!phase.contains(name + suffix)) phase[name + suffix] = Json::object();
        phase[name + suffix][wheelNames[w]] = one[std::string("v") + suffix];
      }
    }
    out[phaseNames[p]] = std::move(phase);
  }
  return out;
}

Json cornerGroupJson(const ReportData& report, const CornerGroup& g) {
  Json j{{"label", report.groups[g.group].label}, {"laps", g.laps}};
  for (std::size_t key = 0; key < cornerKeyCount; ++key) overLapsJson(j, cornerKeyNames[key], g.value[key]);
  j["lifts_laps"] = g.lifting;
  j["lifts_known_laps"] = g.liftKnown;
  j["phases"] = groupPhasesJson(g);
  return j;
}

// The group's best lap of its fastest segments, and where each came from.
Json bestLapsJson(const ReportData& report, const TrackAnalysis& track, const TrackGroup& g) {
  Json segments = Json::array();
  for (std::size_t k = 0; k < track.corners.size(); ++k) {
    const bool known = !std::isnan(g.bestSegmentTime[k]);
    segments.push_back(Json{{"corner", track.corners[k].corner.name},
                            {"file", known ? Json(track.laps[g.bestSegmentLap[k]].file) : Json(nullptr)},
                            {"time_s", number(g.bestSegmentTime[k])}});
  }
  return Json{{"group", report.groups[g.group].label}, {"best_lap_s", number(g.bestOfSegments)},
              {"best_segments", segments}};
}

// The group's understeer by phase in the track's slow and fast corners, and
// the corners of each class.
Json balanceBySpeedJson(const TrackAnalysis& track, const TrackGroup& g) {
  Json out = Json::object();
  for (std::size_t c = 0; c < speedClassCount; ++c) {
    Json names = Json::array();
    for (const std::size_t k : track.speedClasses.corners[c]) names.push_back(track.corners[k].corner.name);
    Json one{{"corners", std::move(names)}};
    for (std::size_t p = 0; p < phaseCount; ++p) {
      Json phase = Json::object();
      overLapsJson(phase, "understeer_deg", g.balanceBySpeed[c][p]);
      one[phaseNames[p]] = std::move(phase);
    }
    out[speedClassNames[c]] = std::move(one);
  }
  return out;
}

Json trackGroupJson(const ReportData& report, const TrackAnalysis& track, const TrackGroup& g) {
  Json j{{"label", report.groups[g.group].label}, {"laps", g.laps}, {"complete_laps", g.completeLaps}};
  overLapsJson(j, "lap_time_s", g.lapTime);
  overLapsJson(j, "delta_at_line_s", g.deltaAtLine);
  j["best_lap_s"] = number(g.bestLapTime);
  j["best_lap_file"] = g.completeLaps > 0 ? Json(track.laps[g.bestLap].file) : Json(nullptr);
  Json intervals = Json::array();
  for (const float i : g.intervals) intervals.push_back(floatNumber(i));
  j["sample_interval_s"] = intervals;
  j["balance_by_speed"] = balanceBySpeedJson(track, g);
  return j;
}

Json cornerJson(const ReportData& report, const TrackAnalysis& track, const CornerResult& c) {
  const TrackCorner& k = c.corner;
  Json laps = Json::array(), groups = Json::array();
  for (const CornerLap& lap : c.laps) laps.push_back(cornerLapJson(track, lap));
  for (const CornerGroup& g : c.groups) {
    if (g.laps > 0) groups.push_back(cornerGroupJson(report, g));
  }
  return Json{{"name", k.name},
              {"direction", k.left ? "left" : "right"},
              {"start_m", number(k.start)},
              {"apex_m", number(k.apex)},
              {"end_m", number(k.end)},
              {"apex_xy", Json::array({number(k.apexX), number(k.apexY)})},
              {"angle_deg", number(k.angleDeg)},
              {"radius_m", number(k.radius)},
              {"segment_m", Json::array({number(c.segmentStart), number(c.segmentEnd)})},
              {"sweepers", c.sweepers},
              {"laps", laps},
              {"groups", groups}};
}

Json differenceOverLapsJson(const Difference& d) {
  return Json{{"quantity", d.quantity},
              {"delta", number(d.delta.value)},
              {"ci", d.hasInterval ? Json::array({number(d.delta.ci.low), number(d.delta.ci.high)}) : Json(nullptr)},
              {"verdict", d.verdict},
              {"laps", Json::array({d.fromLaps, d.toLaps})}};
}

}  // namespace

Json claimsJson(const ReportData& report) {
  Json out = Json::array();
  for (const Claims& c : report.claims) {
    out.push_back(Json{{"from", report.groups[c.from].label},
                       {"to", report.groups[c.to].label},
                       {"m", c.tested},
                       {"claimed", c.claimed},
                       {"fdr", number(c.fdr)}});
  }
  return out;
}

// A finding's links, each a difference with its interval and verdict and,
// for a setup or platform link, whether the balance moved as its rule says.
Json whyJson(const CornerWhy& why) {
  Json out = Json::array();
  for (const WhyLink& l : why.links) {
    const Estimate delta = l.delta();
    const std::string rule = ruleWithRecord(l);
    out.push_back(Json{{"link", l.link},
                       {"where", l.where()},
                       {"phase", l.phase.empty() ? Json(nullptr) : Json(l.phase)},
                       {"wheel", l.wheel().empty() ? Json(nullptr) : Json(l.wheel())},
                       {"quantity", l.quantity()},
                       {"delta", number(delta.value)},
                       {"ci", l.hasInterval() ? Json::array({number(delta.ci.low), number(delta.ci.high)}) : Json(nullptr)},
                       {"verdict", l.verdict()},
                       {"agrees", l.agrees ? Json(*l.agrees) : Json(nullptr)},
                       {"rule", rule.empty() ? Json(nullptr) : Json(rule)}});
  }
  return out;
}

Json findingsJson(const ReportData& report) {
  Json out = Json::array();
  for (const Finding& f : report.findings) {
    Json corners = Json::array();
    for (const CornerFinding& c : f.corners) {
      Json actions = Json::array();
      for (const Difference& a : c.actions) actions.push_back(differenceOverLapsJson(a));
      const Difference& t = c.timeLost;
      Json corner{{"corner", c.corner},
                  {"time_lost_s", number(t.delta.value)},
                  {"time_lost_ci", t.hasInterval ? Json::array({number(t.delta.ci.low), number(t.delta.ci.high)})
                                                 : Json(nullptr)},
                  {"verdict", t.verdict},
                  {"actions", actions},
                  {"sentence", findingSentence(c, report.speedUnit)}};
      if (c.why) {
        corner["why"] = whyJson(*c.why);
        // The links in words, the claimed evidence and the setup first.
        Json lines = Json::array(), rest = Json::array();
        for (const WhyLink& l : c.why->links) (shownFirst(l) ? lines : rest).push_back(whyLine(l, report.speedUnit));
        corner["why_shown"] = lines.size();
        for (Json& line : rest) lines.push_back(std::move(line));
        corner["why_lines"] = std::move(lines);
        corner["drivers_differ"] = c.why->driversDiffer;
      }
      corners.push_back(std::move(corner));
    }
    out.push_back(Json{{"from", f.from}, {"to", f.to}, {"corners", corners}});
  }
  return out;
}

// What each quantity's spreads were moderated toward: the prior's scale
// (its standard deviation, at the corners' mean size where it has a trend),
// its degrees of freedom, and its trend (the log variance's slope against
// the log of the corner's time); null where no prior could be fitted.
Json priorsJson(const TrackAnalysis& t) {
  Json out = Json::array();
  for (const TrackPrior& p : t.priors) {
    const bool known = p.prior.known();
    Json j{{"quantity", p.quantity},
           {"scale", known ? number(p.prior.scale()) : Json(nullptr)},
           {"df", known ? number(p.prior.df) : Json(nullptr)},
           {"trend", known ? number(p.prior.trend) : Json(nullptr)}};
    if (!std::isnan(p.shared)) j["shared"] = number(p.shared);
    if (!p.phase.empty()) j["phase"] = p.phase;
    if (!p.wheel.empty()) j["wheel"] = p.wheel;
    out.push_back(std::move(j));
  }
  return out;
}

Json tracksJson(const ReportData& report) {
  Json tracks = Json::array();
  for (const TrackAnalysis& t : report.tracks) {
    Json laps = Json::array(), corners = Json::array();
    for (const LapResult& lap : t.laps) laps.push_back(lapJson(report, lap));
    for (const CornerResult& c : t.corners) corners.push_back(cornerJson(report, t, c));
    Json groups = Json::array(), best = Json::array();
    for (const TrackGroup& g : t.groups) {
      if (g.laps > 0) groups.push_back(trackGroupJson(report, t, g));
      if (g.completeLaps > 0) best.push_back(bestLapsJson(report, t, g));
    }
    tracks.push_back(Json{{"track", t.track},
                          {"layout", t.layout},
                          {"reference", t.laps[t.reference].file},
                          {"length_m", number(t.path.length())},
                          {"speed_boundary_m_s", number(t.speedClasses.boundary)},
                          {"groups", groups},
                          {"best_laps", best},
                          {"laps", laps},
                          {"corners", corners},
                          {"priors", priorsJson(t)},
                          {"notes", trackNotes(report.groups, t)}});
  }
  return tracks;
}

}  // namespace skidlog
