#include "report/output/json/json_setup.h"

#include "report/analysis/report_group.h"
#include "skidlog/simulator_text.h"

namespace skidlog {
namespace {

// A code or count as recorded; null where the file does not hold it.
Json code(int value) { return value < 0 ? Json(nullptr) : Json(value); }

Json valueJson(const SetupValue& v) {
  if (const float* f = std::get_if<float>(&v)) return floatNumber(*f);
  if (const int* i = std::get_if<int>(&v)) return code(*i);
  if (const std::string* s = std::get_if<std::string>(&v)) return *s;
  Json list = Json::array();
  for (const float f : std::get<std::vector<float>>(v)) list.push_back(floatNumber(f));
  return list;
}

}  // namespace

Json setupJson(const ReplaySetup& s) {
  Json wheels = Json::object();
  for (std::size_t w = 0; w < s.wheels.size(); ++w) {
    const WheelSetup& x = s.wheels[w];
    wheels[wheelNames[w]] = Json{{"tyre", tyreName(x.tyreCode)},
                                 {"tyre_code", code(x.tyreCode)},
                                 {"tyre_width_m", floatNumber(x.tyreWidth)},
                                 {"travel_m", floatNumber(x.travel)},
                                 {"spring_n_per_m", floatNumber(x.spring)},
                                 {"bump_ns_per_m", floatNumber(x.bump)},
                                 {"rebound_ns_per_m", floatNumber(x.rebound)},
                                 {"brake_torque_nm", floatNumber(x.brakeTorque)}};
  }
  return Json{{"wheels", wheels},
              {"anti_roll_front", floatNumber(s.antiRollFront)},
              {"anti_roll_rear", floatNumber(s.antiRollRear)},
              {"final_drive", floatNumber(s.finalDrive)},
              {"gear_ratios", valueJson(s.gearRatios)},
              {"player_flags", code(s.playerFlags)},
              {"aids", aidsOf(s.playerFlags)},
              {"weather", decodeSimulatorText(s.weather)}};
}

std::string setupJsonText(const ReplaySetup& setup) {
  return setupJson(setup).dump(-1, ' ', false, Json::error_handler_t::replace);
}

Json setupDifferenceJson(const SetupDifference& d, const std::string& from, const std::string& to) {
  return Json{{"from", from},
              {"to", to},
              {"where", d.where},
              {"quantity", d.quantity},
              {"from_value", valueJson(d.fromValue)},
              {"to_value", valueJson(d.toValue)}};
}

}  // namespace skidlog
