#include "report/json_summary.h"

#include <nlohmann/json.hpp>

namespace skidlog {
namespace {

using Json = nlohmann::ordered_json;

Json fitJson(const std::optional<CurveFit>& fit) {
  if (!fit) return nullptr;
  const MagicFormula& f = fit->curve;
  return Json{{"points", fit->points},     {"r2", fit->r2},
              {"B", f.B},                  {"C", f.C},
              {"D", f.D},                  {"E", f.E},
              {"Sh", f.Sh},                {"Sv", f.Sv},
              {"peak_grip", fit->peakGrip}, {"peak_slip", fit->peakSlip},
              {"slip_p99", fit->slipP99},  {"peak_reached", fit->peakReached}};
}

Json wheelJson(const char* name, const WheelAnalysis& a) {
  Json bands = Json::array();
  for (const LoadBand& b : a.loadBands) {
    bands.push_back(Json{{"load_min", b.loadMin}, {"load_max", b.loadMax}, {"fit", fitJson(b.fit)}});
  }
  Json circle = Json::array();
  for (const std::optional<double>& grip : a.frictionCircle) circle.push_back(grip ? Json(*grip) : Json(nullptr));
  return Json{{"wheel", name},
              {"rows", a.rows},
              {"fitted_rows", a.fitted},
              {"lateral", fitJson(a.lateral)},
              {"longitudinal", fitJson(a.longitudinal)},
              {"load_bands", bands},
              {"friction_circle", circle}};
}

}  // namespace

std::string jsonSummary(const ReportData& report) {
  Json replays = Json::array();
  for (const ReplaySummary& r : report.replays) {
    replays.push_back(Json{{"file", r.file},
                           {"car", r.car},
                           {"track", r.track},
                           {"layout", r.layout},
                           {"player", r.player},
                           {"samples", r.samples},
                           {"interval_s", r.interval}});
  }
  Json wheels = Json::array();
  for (std::size_t w = 0; w < report.wheels.size(); ++w) wheels.push_back(wheelJson(wheelNames[w], report.wheels[w]));
  const Json summary{{"replays", replays}, {"wheels", wheels}};
  // Invalid UTF-8 in a file name is replaced rather than thrown.
  return summary.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

}  // namespace skidlog
