#include "report/output/page/page_platform.h"

#include <vector>

#include "report/analysis/report_group.h"
#include "report/output/page/page_data.h"
#include "report/output/words/platform_words.h"

namespace skidlog {
namespace {

void number(JsonText& j, const PlatformNumber& n) {
  j.beginObject().key("value").number(n.estimate.value).key("low").number(n.estimate.ci.low);
  j.key("high").number(n.estimate.ci.high).key("laps").integer(static_cast<std::int64_t>(n.laps.laps)).endObject();
}

void chartLine(JsonText& j, const PlatformChartLine& line, int decimals) {
  j.beginObject().key("x").numbers(line.lateral, 3).key("y").numbers(line.value, decimals);
  j.key("range").number(line.range).key("centre").number(line.centre).key("offset").number(line.offset).key("slope").number(line.slope).endObject();
}

}  // namespace

void pagePlatform(JsonText& j, const Platform& p) {
  j.beginObject().key("roll_gradient_deg_per_g");
  number(j, p.rollGradient);
  j.key("lltd_front");
  number(j, p.lltdFront);
  j.key("pitch_gradient_deg_per_g");
  number(j, p.pitchGradient);
  j.key("roll_line");
  chartLine(j, p.roll, 3);
  j.key("transfer").beginArray();
  for (const PlatformChartLine& t : p.transfer) chartLine(j, t, 0);
  j.endArray().key("wheels").beginArray();
  for (std::size_t w = 0; w < p.wheels.size(); ++w) {
    const WheelPlatform& wheel = p.wheels[w];
    j.beginObject().key("name").string(wheelNames[w]).key("travel_used");
    pageEstimate(j, wheel.travelUsed);
    j.key("at_travel_end_s");
    number(j, wheel.atTravelEnd);
    j.key("damper");
    if (wheel.damper) {
      j.beginObject().key("share").numbers(wheel.damper->share, 5).key("quadrants").beginArray();
      for (const PlatformNumber& q : wheel.damper->quadrant) number(j, q);
      j.endArray().endObject();
    } else {
      j.null();
    }
    j.endObject();
  }
  j.endArray().key("notes").strings(platformNotes(p)).endObject();
}

void pageDamperEdges(JsonText& j) {
  std::vector<double> edges;
  for (std::size_t b = 1; b < damperBins; ++b) edges.push_back(damperEdge(b));
  j.key("damperEdges").numbers(edges, 1).key("damperKnee").number(damperKnee);
}

}  // namespace skidlog
