#include "report/output/json/json_summary.h"

#include "report/output/json/json_laps.h"
#include "report/output/json/json_session.h"
#include "report/output/json/format/json_number.h"
#include "report/output/json/json_platform.h"
#include "report/output/json/json_setup.h"
#include "report/output/words/balance_words.h"
#include "report/output/words/difference_words.h"
#include "report/output/words/setup_words.h"
#include "report/output/words/tyre_words.h"
#include "report/quantity/quantities.h"

#include <iterator>

namespace skidlog {
namespace {

// A fit's curve and what it says; with its analysis, the intervals too.
Json fitJson(const CurveFit& fit, const CurveAnalysis* analysis) {
  const MagicFormula& f = fit.curve;
  Json j{{"points", fit.points},
         {"outliers", fit.outliers},
         {"r2", number(fit.r2)},
         {"B", number(f.B)},
         {"C", number(f.C)},
         {"D", number(f.D)},
         {"E", number(f.E)},
         {"Sh", number(f.Sh)},
         {"Sv", number(f.Sv)},
         {"L", number(f.L)},
         {"reference_load", number(f.referenceLoad)},
         {"peak_grip", number(fit.peak.grip)},
         {"peak_slip", number(fit.peak.slip)},
         {"slip_p99", floatNumber(static_cast<float>(fit.slipP99))},
         {"peak_reached", fit.peak.reached},
         {"cornering_stiffness", number(f.corneringStiffness())},
         {"bounded", fit.bounded}};
  if (analysis != nullptr) {
    j["peak_grip_ci"] = estimateInterval(analysis->peakGrip);
    j["peak_slip_ci"] = estimateInterval(analysis->peakSlip);
    j["cornering_stiffness_ci"] = estimateInterval(analysis->corneringStiffness);
  }
  return j;
}

Json curveJson(const std::optional<CurveAnalysis>& c) { return c ? fitJson(c->fit, &*c) : Json(nullptr); }

// A wheel's or an axle's analysis; `key` says which (wheel or axle).
Json tyreJson(const char* key, const char* name, const TyreAnalysis& a) {
  Json bands = Json::array();
  for (const LoadBand& b : a.loadBands) {
    bands.push_back(Json{{"load_min", floatNumber(static_cast<float>(b.loadMin))},
                         {"load_max", floatNumber(static_cast<float>(b.loadMax))},
                         {"mean_load", number(b.meanLoad)},
                         {"fit", b.fit ? fitJson(*b.fit, nullptr) : Json(nullptr)}});
  }
  Json circle = Json::array();
  for (const std::optional<double>& grip : a.frictionCircle) {
    circle.push_back(grip ? floatNumber(static_cast<float>(*grip)) : Json(nullptr));
  }
  return Json{{key, name},
              {"rows", a.rows},
              {"fitted_rows", a.fitted},
              {"lateral", curveJson(a.lateral)},
              {"longitudinal", curveJson(a.longitudinal)},
              {"load_bands", bands},
              {"load_sensitivity", estimateValue(a.loadSensitivity)},
              {"load_sensitivity_ci", estimateInterval(a.loadSensitivity)},
              {"friction_circle", circle},
              {"notes", tyreNotes(a)}};
}

Json replaysJson(const std::vector<ReplaySummary>& replays) {
  Json out = Json::array();
  for (const ReplaySummary& r : replays) {
    out.push_back(Json{{"file", r.file},
                       {"car", r.car},
                       {"track", r.track},
                       {"layout", r.layout},
                       {"player", r.player},
                       {"samples", r.samples},
                       {"interval_s", floatNumber(r.interval)},
                       {"setup", setupJson(r.setup)}});
  }
  return out;
}

Json balanceJson(const Balance& b) {
  return Json{{"understeer_gradient", estimateValue(b.understeerGradient)},
              {"understeer_gradient_ci", estimateInterval(b.understeerGradient)},
              {"limit", b.limit ? Json(axleNames[*b.limit]) : Json(nullptr)},
              {"points", b.acceleration.size()},
              {"fitted_points", b.fitted},
              {"statement", limitStatement(b)}};
}

// A group's replays, wheels, axles and balance, as members of `into`.
void groupJson(const ReportGroup& group, Json& into) {
  into["replays"] = replaysJson(group.replays);
  Json intervals = Json::array();
  for (const float i : group.sampleIntervals()) intervals.push_back(floatNumber(i));
  into["sample_interval_s"] = intervals;
  Json wheels = Json::array(), axles = Json::array();
  for (std::size_t w = 0; w < group.wheels.size(); ++w) wheels.push_back(tyreJson("wheel", wheelNames[w], group.wheels[w]));
  for (std::size_t a = 0; a < group.axles.size(); ++a) axles.push_back(tyreJson("axle", axleNames[a], group.axles[a]));
  into["wheels"] = wheels;
  into["axles"] = axles;
  into["balance"] = balanceJson(group.balance);
  into["platform"] = platformJson(group.platform);
  into["resampled"] = group.lapsResampled ? "laps and blocks" : "blocks";
}

Json differenceJson(const ReportData& report, const std::vector<std::string>& labels, const Difference& d) {
  Json j{{"from", report.groups[d.from].label},
         {"to", report.groups[d.to].label},
         {"where", d.where},
         {"curve", d.curve.empty() ? Json(nullptr) : Json(d.curve)},
         {"quantity", d.quantity},
         {"from_value", number(d.fromValue)},
         {"to_value", number(d.toValue)},
         {"delta", number(d.delta.value)},
         {"ci", d.hasInterval ? estimateInterval(d.delta) : Json(nullptr)},
         {"relative", estimateValue(d.relative)},
         {"relative_ci", estimateInterval(d.relative)},
         {"verdict", d.verdict},
         {"notes", notesOf(d, labels)}};
  // A corner's phase number says which phase (and wheel) beside its corner.
  if (!d.phase.empty()) j["phase"] = d.phase;
  if (!d.wheel.empty()) j["wheel"] = d.wheel;
  // A number over laps says how many of each side's it stands on.
  if (d.fromLaps + d.toLaps > 0) j["laps"] = Json::array({d.fromLaps, d.toLaps});
  return j;
}

// Compacts an entry for the page: its null and empty members left out. Its
// numbers stay exact, so that the page rounds each once, as the sentences do.
void compact(Json& entry) {
  for (auto it = entry.begin(); it != entry.end();) {
    const bool empty = it->is_null() || (it->is_array() && it->empty());
    it = empty ? entry.erase(it) : std::next(it);
  }
}

// A difference compacted, and its groups, verdict and notes left out where
// they are `previous`'s (none: no notes). Notes that differ are written,
// even none after some.
void compact(Json& d, const Json* previous) {
  const Json notes = d["notes"];
  compact(d);
  const Json before = previous != nullptr ? (*previous)["notes"] : Json::array();
  if (notes != before) {
    d["notes"] = notes;
  } else {
    d.erase("notes");
  }
  if (previous == nullptr) return;
  if ((*previous)["from"] == d["from"] && (*previous)["to"] == d["to"]) {
    d.erase("from");
    d.erase("to");
  }
  if ((*previous)["verdict"] == d["verdict"]) d.erase("verdict");
}

const char* boundName(Bound b) {
  switch (b) {
    case Bound::trackLength:
      return "track length";
    case Bound::lapTime:
      return "lap time";
    case Bound::fixed:
      break;
  }
  return "fixed";
}

}  // namespace

Json differencesJson(const ReportData& report, JsonForm form) {
  Json out = Json::array();
  const std::vector<std::string> labels = report.labels();
  Json previous;
  for (const Difference& d : report.differences) {
    Json j = differenceJson(report, labels, d);
    if (form == JsonForm::compact) {
      Json full = j;
      compact(j, previous.is_null() ? nullptr : &previous);
      previous = std::move(full);
    }
    out.push_back(std::move(j));
  }
  return out;
}

Json setupDifferencesJson(const ReportData& report) {
  Json out = Json::array();
  for (const SetupDifference& d : report.setupDifferences) {
    Json j = setupDifferenceJson(d, report.groups[d.from].label, report.groups[d.to].label);
    j["text"] = describe(d);
    out.push_back(std::move(j));
  }
  return out;
}

Json quantitiesJson(JsonForm form) {
  Json out = Json::array();
  for (const Quantity& q : quantities()) {
    Json j{{"key", q.key}, {"words", q.words}, {"unit", q.unit}, {"decimals", q.decimals},
           {"resolution", number(q.resolution)}, {"range", Json::array({number(q.low), number(q.high)})},
           {"bound", boundName(q.bound)},
           {"better", q.better == Better::higherIsBetter  ? Json("higher")
                      : q.better == Better::lowerIsBetter ? Json("lower")
                                                          : Json(nullptr)},
           {"phase", q.phase.empty() ? Json(nullptr) : Json(q.phase)}};
    if (!q.curve.empty()) j["curve"] = q.curve;
    if (form == JsonForm::compact) compact(j);
    out.push_back(std::move(j));
  }
  return out;
}

std::string jsonSummary(const ReportData& report) {
  Json summary = Json::object();
  if (!report.grouped()) {
    groupJson(report.groups.front(), summary);
  } else {
    Json groups = Json::array();
    for (const ReportGroup& g : report.groups) {
      Json group{{"label", g.label}};
      groupJson(g, group);
      groups.push_back(std::move(group));
    }
    summary["groups"] = std::move(groups);
    summary["setup_differences"] = setupDifferencesJson(report);
    summary["differences"] = differencesJson(report, JsonForm::full);
    summary["claims"] = claimsJson(report);
  }
  summary["setup_notes"] = setupNotes(report.setupMixes, report.labels());
  summary["session"] = sessionJson(report);
  summary["tracks"] = tracksJson(report);
  summary["findings"] = findingsJson(report);
  summary["quantities"] = quantitiesJson(JsonForm::full);
  // Invalid UTF-8 in a file name is replaced rather than thrown.
  return summary.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

}  // namespace skidlog
