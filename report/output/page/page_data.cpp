#include "report/output/page/page_data.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "numeric/precision.h"
#include "report/analysis/setup/setup_differences.h"
#include "report/output/json/format/json_text.h"
#include "report/output/json/json_laps.h"
#include "report/output/json/json_summary.h"
#include "report/output/words/balance_words.h"
#include "report/output/words/difference_words.h"
#include "report/output/words/setup_words.h"
#include "report/output/page/page_laps.h"
#include "report/output/page/page_session.h"
#include "report/output/page/page_platform.h"

namespace skidlog {
namespace {

// The picked entries of a series as one array, each through `value`.
template <class Value>
void pickedNumbers(JsonText& j, const std::vector<std::size_t>& picked, Value value, int decimals) {
  std::vector<double> values;
  values.reserve(picked.size());
  for (const std::size_t i : picked) values.push_back(value(i));
  j.numbers(values, decimals);
}

// A scatter as the page reads it: x, y, and how many points each load class
// holds (the points of class 0 first).
void scatter(JsonText& j, const ScatterPoints& points, int xDecimals) {
  const auto numbers = [&j](const std::vector<float>& v, int decimals) {
    std::vector<double> values;
    values.reserve(v.size());
    for (const float f : v) values.push_back(widen(f));
    j.numbers(values, decimals);
  };
  j.beginObject().key("x");
  numbers(points.x, xDecimals);
  j.key("y");
  numbers(points.y, 4);
  j.key("classes").beginArray();
  for (const std::size_t c : points.classes) j.integer(static_cast<std::int64_t>(c));
  j.endArray().endObject();
}

void coefficients(JsonText& j, const CurveFit& fit) {
  const MagicFormula& f = fit.curve;
  j.key("points").integer(static_cast<std::int64_t>(fit.points)).key("r2").number(fit.r2);
  j.key("B").number(f.B).key("C").number(f.C).key("D").number(f.D).key("E").number(f.E);
  j.key("Sh").number(f.Sh).key("Sv").number(f.Sv).key("L").number(f.L).key("reference_load").number(f.referenceLoad);
  j.key("slip_p99").number(fit.slipP99).key("peak_reached").boolean(fit.peak.reached).key("bounded").strings(fit.bounded);
}

// The fitted curve across the slip its data covers with its 95 % band, its
// peak (when reached) with the intervals of peak grip and slip, and the
// numbers for the table.
void curve(JsonText& j, const std::optional<CurveAnalysis>& c, int xDecimals) {
  if (!c) {
    j.null();
    return;
  }
  const CurveFit& fit = c->fit;
  j.beginObject();
  j.key("x").numbers(c->x, xDecimals + 2).key("y").numbers(c->y, 4);
  j.key("low").numbers(c->low, 4).key("high").numbers(c->high, 4);
  j.key("peak");
  if (fit.peak.reached) {
    // The peak on the side where the curve is largest; its intervals on that side.
    const double x = fit.peak.x;
    const double y = fit.curve(x);
    const double slipSide = x < 0.0 ? -1.0 : 1.0, gripSide = y < 0.0 ? -1.0 : 1.0;
    j.beginObject().key("x").number(x, xDecimals + 2).key("y").number(y, 4);
    j.key("slip").beginArray().number(slipSide * c->peakSlip.ci.low, xDecimals + 2);
    j.number(slipSide * c->peakSlip.ci.high, xDecimals + 2).endArray();
    j.key("grip").beginArray().number(gripSide * c->peakGrip.ci.low, 4).number(gripSide * c->peakGrip.ci.high, 4);
    j.endArray().endObject();
  } else {
    j.null();
  }
  coefficients(j, fit);
  j.key("peak_grip");
  pageEstimate(j, c->peakGrip);
  j.key("peak_slip");
  pageEstimate(j, c->peakSlip);
  j.key("cornering_stiffness");
  pageEstimate(j, c->corneringStiffness);
  j.endObject();
}

// A load band's curve across the slip its own points cover.
void bandCurve(JsonText& j, const LoadBand& band) {
  j.beginObject().key("load_min").number(band.loadMin, 0).key("load_max").number(band.loadMax, 0);
  j.key("mean_load").number(band.meanLoad, 0).key("curve");
  if (!band.fit) {
    j.null().endObject();
    return;
  }
  std::vector<double> x, y;
  drawAcrossData(*band.fit, x, y);
  j.beginObject().key("x").numbers(x, 4).key("y").numbers(y, 4).key("D").number(band.fit->curve.D).endObject();
  j.endObject();
}

// A wheel's or an axle's scatters as the pipeline kept them, its curves,
// bands and envelope.
void tyre(JsonText& j, const char* name, const TyreChartPoints& points, const TyreAnalysis& a) {
  j.beginObject().key("name").string(name);
  j.key("lateral_points");
  scatter(j, points.lateral, 2);
  j.key("longitudinal_points");
  scatter(j, points.longitudinal, 4);
  j.key("circle_points");
  scatter(j, points.circle, 4);
  j.key("lateral");
  curve(j, a.lateral, 2);
  j.key("longitudinal");
  curve(j, a.longitudinal, 4);
  j.key("load_bands").beginArray();
  for (const LoadBand& b : a.loadBands) bandCurve(j, b);
  j.endArray();
  j.key("load_sensitivity");
  pageEstimate(j, a.loadSensitivity);
  j.key("friction_circle").beginArray();
  for (const std::optional<double>& grip : a.frictionCircle) {
    if (grip) {
      j.number(*grip, 4);
    } else {
      j.null();
    }
  }
  j.endArray().endObject();
}

void trace(JsonText& j, const ReplaySummary& r, std::size_t most) {
  const ReplayTrace& t = r.trace;
  const std::span<const float> drawn[] = {t.speed, t.throttle, t.brake, t.steer, t.normalLoad[0], t.normalLoad[1],
                                          t.normalLoad[2], t.normalLoad[3]};
  const std::vector<std::size_t> picked = traceSamples(t.time.size(), most, drawn);
  const auto series = [&](const char* name, const Series<float>& v, int decimals) {
    j.key(name);
    pickedNumbers(j, picked, [&v](std::size_t i) { return widen(v[i]); }, decimals);
  };
  j.beginObject().key("file").string(r.file).key("seconds").number(r.seconds(), 2);
  series("time", t.time, 2);
  series("distance", t.distance, 1);
  series("speed", t.speed, 2);
  series("throttle", t.throttle, 3);
  series("brake", t.brake, 3);
  series("steer", t.steer, 2);
  j.key("loads").beginArray();
  for (const Series<float>& l : t.normalLoad) pickedNumbers(j, picked, [&l](std::size_t i) { return widen(l[i]); }, 0);
  j.endArray().endObject();
}

// The handling diagram: its points (thinned), its binned medians, the fitted
// line over the linear range, and the words on the limit.
void balance(JsonText& j, const Balance& b, std::size_t most) {
  const std::vector<std::size_t> picked = thinned(b.acceleration.size(), most);
  j.beginObject().key("x");
  pickedNumbers(j, picked, [&b](std::size_t i) { return widen(b.slipDifference[i]); }, 3);
  j.key("y");
  pickedNumbers(j, picked, [&b](std::size_t i) { return widen(b.acceleration[i]); }, 3);
  j.key("medianX").numbers(b.medianSlipDifference, 3).key("medianY").numbers(b.medianAcceleration, 3);
  j.key("understeer_gradient");
  pageEstimate(j, b.understeerGradient);
  j.key("offset").number(b.offset).key("linear").number(linearAcceleration);
  j.key("points").integer(static_cast<std::int64_t>(b.acceleration.size()));
  j.key("fitted_points").integer(static_cast<std::int64_t>(b.fitted));
  j.key("limit");
  if (b.limit) {
    j.string(axleNames[*b.limit]);
  } else {
    j.null();
  }
  j.key("statement").string(limitStatement(b)).endObject();
}

void group(JsonText& j, const ReportGroup& g, std::size_t groups, bool single, const std::string& tyreTypes) {
  const std::size_t most = maxChartPoints / groups;
  j.beginObject().key("label").string(g.label);
  if (!tyreTypes.empty()) j.key("tyreTypes").string(tyreTypes);
  j.key("aids").strings(g.replays.empty() ? std::vector<std::string>{} : aidsOf(g.replays.front().setup.playerFlags));
  j.key("wheels").beginArray();
  for (std::size_t w = 0; w < g.wheels.size(); ++w) tyre(j, wheelNames[w], g.wheelCharts[w], g.wheels[w]);
  j.endArray().key("axles").beginArray();
  for (std::size_t a = 0; a < g.axles.size(); ++a) tyre(j, axleNames[a], g.axleCharts[a], g.axles[a]);
  j.endArray().key("balance");
  balance(j, g.balance, most);
  j.key("platform");
  pagePlatform(j, g.platform);
  j.key("traces").beginArray();
  // One group draws every replay's traces; a comparison draws its laps' in
  // the laps section.
  if (single) {
    const std::size_t perReplay = maxChartPoints / std::max<std::size_t>(g.replays.size(), 1);
    for (const ReplaySummary& r : g.replays) trace(j, r, perReplay);
  }
  j.endArray().endObject();
}

}  // namespace

std::string pageData(const ReportData& report) {
  JsonText j;
  j.beginObject().key("groups").beginArray();
  for (std::size_t k = 0; k < report.groups.size(); ++k) {
    const std::string tyreTypes = k > 0 ? tyreTypesText(report.differences, k) : std::string();
    group(j, report.groups[k], report.groups.size(), !report.grouped(), tyreTypes);
  }
  // The members the JSON summary holds too are its own, written by its writers.
  j.endArray().key("differences").json(differencesJson(report, JsonForm::compact));
  j.key("claims").json(claimsJson(report));
  j.key("findings").json(findingsJson(report));
  j.key("quantities").json(quantitiesJson(JsonForm::compact));
  j.key("setup_notes").json(setupNotes(report.setupMixes, report.labels()));
  j.key("setup_differences").json(setupDifferencesJson(report));
  j.key("loadEdges").numbers(report.loadEdges, 0);
  pageDamperEdges(j);
  pageTracks(j, report);
  pageSession(j, report);
  pageCornerTables(j);
  j.key("speedUnit").beginObject().key("name").string(speedUnitName(report.speedUnit));
  j.key("scale").number(speedScale(report.speedUnit)).endObject();
  j.endObject();
  return j.text();
}

void pageEstimate(JsonText& j, const Estimate& e) {
  j.beginObject().key("value").number(e.value).key("low").number(e.ci.low).key("high").number(e.ci.high).endObject();
}

}  // namespace skidlog
