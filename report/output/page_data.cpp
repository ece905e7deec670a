#include "report/output/page_data.h"

#include <algorithm>

#include "numeric/precision.h"
#include "report/output/json_text.h"

namespace skidlog {
namespace {

// Every `step`-th index of [0, n), at most `most` of them: a thinned scatter
// keeps its density, and so its shape.
std::vector<std::size_t> thinned(std::size_t n, std::size_t most) {
  std::vector<std::size_t> picked;
  const std::size_t step = n > most ? (n + most - 1) / most : 1;
  for (std::size_t i = 0; i < n; i += step) picked.push_back(i);
  return picked;
}

void column(JsonText& j, const std::vector<float>& values, const std::vector<std::size_t>& rows,
            const std::vector<std::size_t>& picked, int decimals) {
  j.beginArray();
  for (const std::size_t k : picked) j.number(widen(values[rows[k]]), decimals);
  j.endArray();
}

// The normal loads that split all wheels' points into five classes of equal count.
std::vector<double> loadClassEdges(const TyrePoints& points) {
  std::vector<float> loads;
  for (const WheelPoints& p : points) loads.insert(loads.end(), p.normalLoad.begin(), p.normalLoad.end());
  std::vector<double> edges;
  for (const double q : {0.2, 0.4, 0.6, 0.8}) edges.push_back(quantile(loads, q));
  return edges;
}

void scatter(JsonText& j, const WheelPoints& p, const std::vector<std::size_t>& rows, const std::vector<float>& x,
             int xDecimals, const std::vector<float>& y, const std::vector<double>& edges) {
  const std::vector<std::size_t> picked = thinned(rows.size(), maxChartPoints);
  j.beginObject().key("x");
  column(j, x, rows, picked, xDecimals);
  j.key("y");
  column(j, y, rows, picked, 4);
  j.key("c").beginArray();
  for (const std::size_t k : picked) {
    const double load = widen(p.normalLoad[rows[k]]);
    j.integer(std::upper_bound(edges.begin(), edges.end(), load) - edges.begin());
  }
  j.endArray().endObject();
}

void estimate(JsonText& j, const Estimate& e) {
  j.beginObject().key("value").number(e.value).key("low").number(e.ci.low).key("high").number(e.ci.high).endObject();
}

void coefficients(JsonText& j, const CurveFit& fit) {
  const MagicFormula& f = fit.curve;
  j.key("points").integer(static_cast<std::int64_t>(fit.points)).key("r2").number(fit.r2);
  j.key("B").number(f.B).key("C").number(f.C).key("D").number(f.D).key("E").number(f.E);
  j.key("Sh").number(f.Sh).key("Sv").number(f.Sv).key("L").number(f.L).key("referenceLoad").number(f.referenceLoad);
  j.key("slipP99").number(fit.slipP99).key("reached").boolean(fit.peak.reached).key("bounded").strings(fit.bounded);
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
    const double x = largestWithin(fit.curve, -fit.slipP99, fit.slipP99).x;
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
  j.key("peakGrip");
  estimate(j, c->peakGrip);
  j.key("peakSlip");
  estimate(j, c->peakSlip);
  j.key("stiffness");
  estimate(j, c->corneringStiffness);
  j.endObject();
}

// A load band's curve across the slip its own points cover.
void bandCurve(JsonText& j, const LoadBand& band) {
  j.beginObject().key("min").number(band.loadMin, 0).key("max").number(band.loadMax, 0);
  j.key("meanLoad").number(band.meanLoad, 0).key("curve");
  if (!band.fit) {
    j.null().endObject();
    return;
  }
  const CurveFit& fit = *band.fit;
  std::vector<double> x, y;
  for (std::size_t k = 0; k < curveDrawPoints; ++k) {
    const double share = static_cast<double>(k) / static_cast<double>(curveDrawPoints - 1);
    x.push_back(fit.slipLow + share * (fit.slipHigh - fit.slipLow));
    y.push_back(fit.curve(x.back()));
  }
  j.beginObject().key("x").numbers(x, 4).key("y").numbers(y, 4).key("D").number(fit.curve.D).endObject();
  j.endObject();
}

void wheel(JsonText& j, const char* name, const WheelPoints& p, const TyreAnalysis& a,
           const std::vector<double>& edges) {
  const FitSubsets s = fitSubsets(p);
  j.beginObject().key("name").string(name);
  j.key("lateral");
  scatter(j, p, s.lateral, p.slipAngle, 2, p.lateralGrip, edges);
  j.key("longitudinal");
  scatter(j, p, s.longitudinal, p.slipRatio, 4, p.longitudinalGrip, edges);
  j.key("circle");
  scatter(j, p, s.all, p.lateralGrip, 4, p.longitudinalGrip, edges);
  j.key("lateralFit");
  curve(j, a.lateral, 2);
  j.key("longitudinalFit");
  curve(j, a.longitudinal, 4);
  j.key("bands").beginArray();
  for (const LoadBand& b : a.loadBands) bandCurve(j, b);
  j.endArray();
  j.key("loadSensitivity");
  estimate(j, a.loadSensitivity);
  j.key("envelope").beginArray();
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
  const std::vector<std::size_t> picked = thinned(t.time.size(), most);
  const auto series = [&](const char* name, const std::vector<float>& v, int decimals) {
    j.key(name).beginArray();
    for (const std::size_t i : picked) j.number(widen(v[i]), decimals);
    j.endArray();
  };
  j.beginObject().key("file").string(r.file);
  series("time", t.time, 2);
  series("distance", t.distance, 1);
  series("speed", t.speed, 2);
  series("throttle", t.throttle, 3);
  series("brake", t.brake, 3);
  series("steer", t.steer, 2);
  j.key("loads").beginArray();
  for (const std::vector<float>& l : t.normalLoad) {
    j.beginArray();
    for (const std::size_t i : picked) j.number(widen(l[i]), 0);
    j.endArray();
  }
  j.endArray().endObject();
}

}  // namespace

std::string pageData(const ReportData& report) {
  const std::vector<double> edges = loadClassEdges(report.points);
  JsonText j;
  j.beginObject().key("wheels").beginArray();
  for (std::size_t w = 0; w < report.wheels.size(); ++w) {
    wheel(j, wheelNames[w], report.points[w], report.wheels[w], edges);
  }
  j.endArray().key("traces").beginArray();
  const std::size_t perReplay = maxChartPoints / std::max<std::size_t>(report.replays.size(), 1);
  for (const ReplaySummary& r : report.replays) trace(j, r, perReplay);
  j.endArray().key("loadEdges").numbers(edges, 0).endObject();
  return j.text();
}

}  // namespace skidlog
