#include "report/html_report.h"

#include <algorithm>
#include <cmath>

#include <nlohmann/json.hpp>

#include "numeric/precision.h"

namespace skidlog {

extern const std::string_view chartJs;      // the vendored chart library
extern const std::string_view reportScript;  // draws the charts from the page data

namespace {

using Json = nlohmann::ordered_json;

// `text` with every character for which `replacement` gives a text replaced by it.
template <class Replacement>
std::string replaceEach(std::string_view text, Replacement replacement) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    if (const char* r = replacement(c)) {
      out += r;
    } else {
      out += c;
    }
  }
  return out;
}

// Rounded to `decimals` places: the page need not carry more digits than a chart shows.
double rounded(double v, int decimals) {
  const double scale = std::pow(10.0, decimals);
  return std::isfinite(v) ? std::round(v * scale) / scale : 0.0;
}

// Every `step`-th index of [0, n), at most maxChartPoints of them: a thinned
// scatter keeps its density, and so its shape.
std::vector<std::size_t> thinned(std::size_t n, std::size_t most = maxChartPoints) {
  std::vector<std::size_t> picked;
  const std::size_t step = n > most ? (n + most - 1) / most : 1;
  for (std::size_t i = 0; i < n; i += step) picked.push_back(i);
  return picked;
}

Json column(const std::vector<float>& values, const std::vector<std::size_t>& rows,
            const std::vector<std::size_t>& picked, int decimals) {
  Json out = Json::array();
  for (std::size_t k : picked) out.push_back(rounded(widen(values[rows[k]]), decimals));
  return out;
}

// The normal loads that split all wheels' points into five classes of equal count.
std::vector<double> loadClassEdges(const TyrePoints& points) {
  std::vector<float> loads;
  for (const WheelPoints& p : points) loads.insert(loads.end(), p.normalLoad.begin(), p.normalLoad.end());
  std::vector<double> edges;
  for (double q : {0.2, 0.4, 0.6, 0.8}) edges.push_back(quantile(loads, q));
  return edges;
}

Json scatter(const WheelPoints& p, const std::vector<std::size_t>& rows, const std::vector<float>& x, int xDecimals,
             const std::vector<float>& y, const std::vector<double>& edges) {
  const std::vector<std::size_t> picked = thinned(rows.size());
  Json classes = Json::array();
  for (std::size_t k : picked) {
    const double load = widen(p.normalLoad[rows[k]]);
    classes.push_back(std::upper_bound(edges.begin(), edges.end(), load) - edges.begin());
  }
  return Json{{"x", column(x, rows, picked, xDecimals)}, {"y", column(y, rows, picked, 4)}, {"c", classes}};
}

// The fitted curve over the slip its data covers, its peak when reached, and
// the numbers for the table.
Json curve(const std::optional<CurveFit>& fit, int xDecimals) {
  if (!fit) return nullptr;
  Json x = Json::array(), y = Json::array();
  constexpr int steps = 200;
  for (int k = -steps; k <= steps; ++k) {
    const double s = fit->slipP99 * k / steps;
    x.push_back(rounded(s, xDecimals + 2));
    y.push_back(rounded(fit->curve(s), 4));
  }
  const MagicFormula& f = fit->curve;
  Json peak = nullptr;
  if (fit->peakReached) {
    // The reached peak on the side where the curve is largest.
    const double side = std::fabs(f(fit->peakSlip)) >= std::fabs(f(-fit->peakSlip)) ? 1.0 : -1.0;
    peak = Json::array({rounded(side * fit->peakSlip, xDecimals + 2), rounded(f(side * fit->peakSlip), 4)});
  }
  return Json{{"x", x}, {"y", y}, {"peak", peak}, {"points", fit->points}, {"r2", fit->r2},
              {"B", f.B}, {"C", f.C}, {"D", f.D}, {"E", f.E}, {"Sh", f.Sh}, {"Sv", f.Sv},
              {"peakGrip", fit->peakGrip}, {"peakSlip", fit->peakSlip}, {"slipP99", fit->slipP99},
              {"reached", fit->peakReached}};
}

Json wheelData(const char* name, const WheelPoints& p, const WheelAnalysis& a, const std::vector<double>& edges) {
  const FitSubsets s = fitSubsets(p);
  Json bands = Json::array();
  for (const LoadBand& b : a.loadBands) {
    bands.push_back(Json{{"min", rounded(b.loadMin, 0)}, {"max", rounded(b.loadMax, 0)}, {"curve", curve(b.fit, 2)}});
  }
  Json envelope = Json::array();
  for (std::size_t k = 0; k < a.frictionCircle.size(); ++k) {
    envelope.push_back(a.frictionCircle[k] ? Json(rounded(*a.frictionCircle[k], 4)) : Json(nullptr));
  }
  return Json{{"name", name},
              {"lateral", scatter(p, s.lateral, p.slipAngle, 2, p.lateralGrip, edges)},
              {"longitudinal", scatter(p, s.longitudinal, p.slipRatio, 4, p.longitudinalGrip, edges)},
              {"circle", scatter(p, s.all, p.lateralGrip, 4, p.longitudinalGrip, edges)},
              {"lateralFit", curve(a.lateral, 2)},
              {"longitudinalFit", curve(a.longitudinal, 4)},
              {"bands", bands},
              {"envelope", envelope}};
}

Json traceData(const ReplaySummary& r, std::size_t most) {
  const ReplayTrace& t = r.trace;
  const std::vector<std::size_t> picked = thinned(t.time.size(), most);
  const auto series = [&](const std::vector<float>& v, int decimals) {
    Json out = Json::array();
    for (std::size_t i : picked) out.push_back(rounded(widen(v[i]), decimals));
    return out;
  };
  Json loads = Json::array();
  for (const std::vector<float>& l : t.normalLoad) loads.push_back(series(l, 0));
  return Json{{"file", r.file},   {"time", series(t.time, 2)},       {"distance", series(t.distance, 1)},
              {"speed", series(t.speed, 2)}, {"throttle", series(t.throttle, 3)}, {"brake", series(t.brake, 3)},
              {"steer", series(t.steer, 2)}, {"loads", loads}};
}

// JSON for an inline script: no '<', '>' or '&' appears raw, so no text in it
// can close the script element.
std::string scriptSafe(const Json& data) {
  return replaceEach(data.dump(-1, ' ', false, Json::error_handler_t::replace), [](char c) -> const char* {
    switch (c) {
      case '<': return "\\u003c";
      case '>': return "\\u003e";
      case '&': return "\\u0026";
      default: return nullptr;
    }
  });
}

std::string headerHtml(const ReportData& report) {
  const ReplaySummary& first = report.replays.front();
  std::string h = "<header><h1>Tyre report: ";
  h.append(escapeHtml(first.car))
      .append("</h1><div class=\"scroll\"><table class=\"replays\"><tr><th>Replay</th><th>Car</th><th>Track</th>"
              "<th>Player</th><th>Duration</th><th>Sample interval</th><th>Samples</th></tr>");
  for (const ReplaySummary& r : report.replays) {
    const long tenths = std::lround(static_cast<double>(r.samples) * r.interval * 10.0);
    char numbers[96];
    std::snprintf(numbers, sizeof numbers, "<td>%ld:%02ld.%ld</td><td>%g s</td><td>%zu</td>", tenths / 600,
                  tenths % 600 / 10, tenths % 10, rounded(r.interval, 4), r.samples);
    h.append("<tr><td>").append(escapeHtml(r.file)).append("</td><td>").append(escapeHtml(r.car));
    h.append("</td><td>").append(escapeHtml(r.track));
    if (!r.layout.empty()) h.append(" ").append(escapeHtml(r.layout));
    h.append("</td><td>").append(escapeHtml(r.player)).append("</td>").append(numbers).append("</tr>");
  }
  return h.append("</table></div></header>");
}

constexpr std::string_view styles = R"css(
body{font:14px/1.4 system-ui,sans-serif;margin:0 auto;max-width:1400px;padding:12px;color:#222;background:#fff}
h1{font-size:1.4em;margin:.2em 0}h2{font-size:1.15em;margin:1.2em 0 .4em;border-bottom:1px solid #ccc}
table{border-collapse:collapse;margin:.5em 0;font-size:.9em}td,th{border:1px solid #ccc;padding:2px 6px;text-align:right}
th:first-child,td:first-child{text-align:left}.scroll{overflow-x:auto}
.grid{display:grid;grid-template-columns:repeat(auto-fit,minmax(330px,1fr));gap:12px}
.chart{position:relative;height:300px;border:1px solid #eee;padding:4px}.wide{grid-column:1/-1}
p.note{color:#555;font-size:.9em}
@media print{body{max-width:none}.chart{break-inside:avoid;height:260px}h2{break-after:avoid}}
)css";

}  // namespace

std::string escapeHtml(std::string_view text) {
  return replaceEach(text, [](char c) -> const char* {
    switch (c) {
      case '&': return "&amp;";
      case '<': return "&lt;";
      case '>': return "&gt;";
      case '"': return "&quot;";
      case '\'': return "&#39;";
      default: return nullptr;
    }
  });
}

std::string htmlReport(const ReportData& report) {
  const std::vector<double> edges = loadClassEdges(report.points);
  Json wheels = Json::array();
  for (std::size_t w = 0; w < report.wheels.size(); ++w) {
    wheels.push_back(wheelData(wheelNames[w], report.points[w], report.wheels[w], edges));
  }
  Json traces = Json::array();
  const std::size_t perReplay = maxChartPoints / std::max<std::size_t>(report.replays.size(), 1);
  for (const ReplaySummary& r : report.replays) traces.push_back(traceData(r, perReplay));
  Json loadEdges = Json::array();
  for (double e : edges) loadEdges.push_back(rounded(e, 0));
  const Json data{{"wheels", wheels}, {"traces", traces}, {"loadEdges", loadEdges}};

  std::string page;
  page += "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">"
          "<meta name=\"viewport\" content=\"width=device-width,initial-scale=1\">"
          "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; script-src 'unsafe-inline'; "
          "style-src 'unsafe-inline'; img-src data:\">";
  page += "<title>Tyre report: " + escapeHtml(report.replays.front().car) + "</title><style>";
  page += styles;
  page += "</style></head><body>";
  page += headerHtml(report);
  page += "<main id=\"report\"></main>";
  page += "<script type=\"application/json\" id=\"report-data\">" + scriptSafe(data) + "</script>\n<script>";
  page += chartJs;
  page += "</script>\n<script>";
  page += reportScript;
  page += "</script></body></html>\n";
  return page;
}

}  // namespace skidlog
