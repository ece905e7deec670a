#include "report/output/json/json_platform.h"

#include <string>

#include "report/analysis/report_group.h"
#include "report/output/words/platform_words.h"

namespace skidlog {
namespace {

constexpr const char* quadrantNames[damperQuadrantCount] = {"bump_slow", "bump_fast", "rebound_slow", "rebound_fast"};

void numberJson(Json& into, const std::string& key, const PlatformNumber& n) {
  into[key] = estimateValue(n.estimate);
  into[key + "_ci"] = estimateInterval(n.estimate);
  into[key + "_laps"] = n.laps.laps;
}

Json edgesJson() {
  Json edges = Json::array({nullptr});
  for (std::size_t b = 1; b < damperBins; ++b) edges.push_back(number(damperEdge(b)));
  edges.push_back(nullptr);
  return edges;
}

Json damperJson(const Damper& d) {
  Json j{{"edges_mm_s", edgesJson()}, {"share", Json::array()}};
  for (const double s : d.share) j["share"].push_back(number(s));
  for (std::size_t q = 0; q < d.quadrant.size(); ++q) numberJson(j, quadrantNames[q], d.quadrant[q]);
  return j;
}

}  // namespace

Json platformJson(const Platform& p) {
  Json j = Json::object();
  numberJson(j, "roll_gradient_deg_per_g", p.rollGradient);
  numberJson(j, "lltd_front", p.lltdFront);
  numberJson(j, "pitch_gradient_deg_per_g", p.pitchGradient);
  Json used = Json::object(), usedCi = Json::object(), end = Json::object(), endCi = Json::object();
  Json dampers = Json::object();
  for (std::size_t w = 0; w < p.wheels.size(); ++w) {
    const WheelPlatform& wheel = p.wheels[w];
    used[wheelNames[w]] = estimateValue(wheel.travelUsed);
    usedCi[wheelNames[w]] = estimateInterval(wheel.travelUsed);
    end[wheelNames[w]] = estimateValue(wheel.atTravelEnd.estimate);
    endCi[wheelNames[w]] = estimateInterval(wheel.atTravelEnd.estimate);
    if (wheel.damper) dampers[wheelNames[w]] = damperJson(*wheel.damper);
  }
  j["travel_used"] = used;
  j["travel_used_ci"] = usedCi;
  j["at_travel_end_s"] = end;
  j["at_travel_end_s_ci"] = endCi;
  j["damper"] = p.dampersMeasured ? dampers : Json(nullptr);
  j["damper_knee_mm_s"] = number(damperKnee);
  j["notes"] = platformNotes(p);
  return j;
}

}  // namespace skidlog
