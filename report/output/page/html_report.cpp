#include "report/output/page/html_report.h"

#include <algorithm>
#include <cmath>

#include "numeric/precision.h"
#include "system/system.h"
#include "report/analysis/setup/setup_differences.h"
#include "report/output/page/page_data.h"
#include "report/output/page/page_laps.h"
#include "report/output/words/setup_words.h"

namespace skidlog {

extern const std::string_view chartJs;      // the vendored chart library
extern const std::string_view reportScript;  // draws the charts from the page data

namespace {

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

// JSON for an inline script: no '<', '>' or '&' appears raw, so no text in it
// can close the script element.
std::string scriptSafe(const std::string& json) {
  return replaceEach(json, [](char c) -> const char* {
    switch (c) {
      case '<': return "\\u003c";
      case '>': return "\\u003e";
      case '&': return "\\u0026";
      default: return nullptr;
    }
  });
}

// The tracks the replays are of, in the order first given: "South City",
// "South City and Kyoto", "Blackwood, South City and Kyoto".
std::string tracksText(const ReportData& report) {
  std::vector<std::string> tracks;
  for (const ReportGroup& g : report.groups) {
    for (const ReplaySummary& r : g.replays) {
      if (std::find(tracks.begin(), tracks.end(), r.track) == tracks.end()) tracks.push_back(r.track);
    }
  }
  std::string text;
  for (std::size_t t = 0; t < tracks.size(); ++t) {
    text.append(t == 0 ? "" : t + 1 == tracks.size() ? " and " : ", ").append(tracks[t]);
  }
  return text;
}

// The page's title: the car, or the groups compared.
// What the page is, then whose: a lap comparison where laps of a track are
// read by place, a tyre report otherwise.
std::string titleOf(const ReportData& report) {
  if (report.session()) {
    const std::string where = report.tracks.empty() ? "" : " at " + tracksText(report);
    return "Session: " + std::to_string(report.groups.size()) + " groups" + where;
  }
  std::string title = report.tracks.empty() ? "Tyre report: " : report.comparison() ? "Lap comparison: " : "Laps: ";
  if (!report.comparison()) {
    title += report.groups.front().replays.front().car;
    return report.tracks.empty() ? title : title + " at " + tracksText(report);
  }
  for (std::size_t g = 0; g < report.groups.size(); ++g) title += (g == 0 ? "" : " vs ") + report.groups[g].label;
  return title;
}

// One row of the replays table; a comparison's rows lead with the group.
void replayRow(std::string& h, const ReplaySummary& r, const ReportGroup* group, std::size_t index) {
  const long tenths = std::lround(r.seconds() * 10.0);
  char numbers[96];
  std::snprintf(numbers, sizeof numbers, "<td>%ld:%02ld.%ld</td><td>%g s</td><td>%zu</td>", tenths / 600,
                tenths % 600 / 10, tenths % 10, widen(r.interval), r.samples);
  h.append("<tr>");
  if (group != nullptr) {
    h.append("<td><span class=\"swatch g").append(std::to_string(index % 12)).append("\"></span>");
    h.append(escapeHtml(group->label)).append("</td>");
  }
  h.append("<td title=\"").append(escapeHtml(r.file)).append("\">").append(escapeHtml(fileNameOf(r.file)));
  h.append("</td><td>").append(escapeHtml(r.car));
  h.append("</td><td>").append(escapeHtml(r.track));
  if (!r.layout.empty()) h.append(" ").append(escapeHtml(r.layout));
  h.append("</td><td>").append(escapeHtml(r.player)).append("</td>").append(numbers).append("</tr>");
}

// The groups whose intervals resample whole laps (or not), named; empty
// where none does. One group is "the report".
std::string groupsWhere(const ReportData& report, bool lapsResampled) {
  std::string names;
  std::size_t count = 0;
  for (const ReportGroup& g : report.groups) {
    if (g.lapsResampled != lapsResampled) continue;
    names += (names.empty() ? "" : ", ") + g.label;
    ++count;
  }
  if (count == 0) return "";
  if (!report.grouped()) return "The report holds ";
  if (count == report.groups.size() && count > 2) return "Every group holds ";
  return escapeHtml(names) + (count == 1 ? " holds " : " hold ");
}

// The title, then the place the page's script puts the answer, then the
// replays and how their intervals are made, once per kind.
std::string headerHtml(const ReportData& report) {
  std::string h = "<header><h1>";
  h.append(escapeHtml(titleOf(report))).append("</h1></header><section id=\"summary\"></section>");
  h.append("<section class=\"replays\"><h2>Replays</h2>");
  // Many replays (a session) fold away: the answer comes first.
  std::size_t replays = 0;
  for (const ReportGroup& g : report.groups) replays += g.replays.size();
  const bool folded = replays > maxTracedLaps;
  if (folded) {
    h.append("<details><summary>").append(std::to_string(replays)).append(" replays");
    if (report.grouped()) h.append(" in ").append(std::to_string(report.groups.size())).append(" groups");
    h.append(", each with its setup</summary>");
  }
  h.append("<div class=\"scroll\"><table class=\"replays\"><tr>");
  if (report.grouped()) h.append("<th>Group</th>");
  h.append("<th>Replay</th><th>Car</th><th>Track</th><th>Player</th><th>Duration</th><th>Sample interval</th>"
           "<th>Samples</th></tr>");
  const std::size_t columns = report.grouped() ? 8 : 7;
  // The setup under the first replay, and wherever it changes from the row
  // above: a setup every group shares is stated once.
  const ReplaySetup& first = report.groups.front().replays.front().setup;
  bool shared = true;
  for (const ReportGroup& g : report.groups) {
    for (const ReplaySummary& r : g.replays) shared = shared && first.sameAs(r.setup);
  }
  const ReplaySetup* last = nullptr;
  for (std::size_t g = 0; g < report.groups.size(); ++g) {
    for (const ReplaySummary& r : report.groups[g].replays) {
      replayRow(h, r, report.grouped() ? &report.groups[g] : nullptr, g);
      if (last == nullptr || !last->sameAs(r.setup)) {
        h.append("<tr class=\"setup\"><td colspan=\"").append(std::to_string(columns)).append("\">");
        h.append(shared && replays > 1 ? "Setup of every replay (front / rear): " : "Setup (front / rear): ");
        h.append(escapeHtml(setupLine(r.setup))).append("</td></tr>");
      }
      last = &r.setup;
    }
  }
  h.append("</table></div>");
  if (folded) h.append("</details>");
  if (const std::string laps = groupsWhere(report, true); !laps.empty()) {
    h.append("<p class=\"note\">").append(laps).append(
        "several laps: the tyre numbers' 95 % intervals resample whole laps and the blocks within them, so they "
        "hold what another lap of the same tyre would give.</p>");
  }
  if (const std::string one = groupsWhere(report, false); !one.empty()) {
    h.append("<p class=\"note\">").append(one).append(
        "one lap: the tyre numbers' 95 % intervals resample blocks of it, so they hold the noise within this lap "
        "only, not what another lap of the same tyre would give.</p>");
  }
  return h.append("</section>");
}

constexpr std::string_view styles = R"css(
body{font:14px/1.4 system-ui,sans-serif;margin:0 auto;max-width:1400px;padding:12px;color:#222;background:#fff}
h1{font-size:1.4em;margin:.2em 0}h2{font-size:1.15em;margin:1.2em 0 .4em;border-bottom:1px solid #ccc}
table{border-collapse:collapse;margin:.5em 0;font-size:.9em}td,th{border:1px solid #ccc;padding:2px 6px;text-align:right}
th:first-child,td:first-child{text-align:left}.scroll{overflow-x:auto}
.grid{display:grid;grid-template-columns:repeat(auto-fit,minmax(330px,1fr));gap:12px}
.chart{position:relative;height:300px;border:1px solid #eee;padding:4px}.wide{grid-column:1/-1}.chart.map{height:520px}.chart.short{height:180px}.chart.tall{height:460px}
p.note{color:#555;font-size:.9em}p.statement{font-size:1em;margin:.4em 0}
.swatch{display:inline-block;width:.8em;height:.8em;margin-right:.4em;border-radius:2px;vertical-align:-1px}
.g0{background:#0072B2}.g1{background:#E69F00}.g2{background:#009E73}.g3{background:#CC79A7}
.g4{background:#56B4E9}.g5{background:#D55E00}.g6{background:#000000}.g7{background:#F0E442}
.g8{background:#882255}.g9{background:#44AA99}.g10{background:#999933}.g11{background:#332288}
table.replays td,table.replays th{text-align:left}ul.summary{margin:.4em 0 .8em;padding-left:1.2em;font-size:1.05em}ul.summary li{margin:.25em 0}
td.shown{font-weight:600}
.forest h3{font-size:1em;margin:.8em 0 .2em}.forest-row{display:grid;grid-template-columns:minmax(8em,20em) 1fr minmax(9em,22em);gap:8px;align-items:center;font-size:.9em;padding:1px 0}
.forest-row:hover{background:#f4f4f4}.forest-row .track{position:relative;height:14px}
.forest-row .zero{position:absolute;left:50%;top:0;bottom:0;border-left:1px solid #888}
ul.why{margin:.1em 0 .4em;padding-left:1.2em;font-size:.9em;color:#444}
.forest-row .bar{position:absolute;top:5px;height:4px;background:#bbb}.forest-row .dot{position:absolute;top:3px;width:8px;height:8px;margin-left:-4px;border-radius:50%;background:#999}
.forest-row.higher .bar,.forest-row.lower .bar{background:#56B4E9}.forest-row.higher .dot,.forest-row.lower .dot{background:#0072B2}
.forest-row.higher .what,.forest-row.lower .what{font-weight:600}.forest-row.one-lap-each-no-interval .dot{background:#fff;border:1px solid #999}
.forest-row .value{color:#444;white-space:nowrap;overflow:hidden;text-overflow:ellipsis}details.differences summary{cursor:pointer;margin:.5em 0}label.control{display:inline-block;margin:.3em 0}
table.ranking td:nth-child(2){text-align:left}table.heat td{min-width:3.2em}
table.corners tr[tabindex]{cursor:pointer}table.corners tr.chosen td{background:#fde9dc}
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
  const std::string data = pageData(report);
  std::string page;
  page += "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">"
          "<meta name=\"viewport\" content=\"width=device-width,initial-scale=1\">"
          "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; script-src 'unsafe-inline'; "
          "style-src 'unsafe-inline'; img-src data:\">";
  page += "<title>" + escapeHtml(titleOf(report)) + "</title><style>";
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
