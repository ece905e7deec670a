// A replay's car setup and the groups' setup differences in the report's JSON.
#ifndef SKIDLOG_REPORT_OUTPUT_JSON_JSON_SETUP_H_
#define SKIDLOG_REPORT_OUTPUT_JSON_JSON_SETUP_H_

#include <string>
#include <vector>

#include "raf/replay_setup.h"
#include "report/analysis/setup/setup_differences.h"
#include "report/output/json/format/json_number.h"

namespace skidlog {

// {"wheels": {"FL": {"tyre", "tyre_code", "tyre_width_m", "travel_m",
// "spring_n_per_m", "bump_ns_per_m", "rebound_ns_per_m", "brake_torque_nm"},
// ...}, "anti_roll_front", "anti_roll_rear", "final_drive", "gear_ratios",
// "player_flags", "aids", "weather"}; a value not recorded (or not finite)
// is null.
Json setupJson(const ReplaySetup& setup);

// The same as text, for the Python binding.
std::string setupJsonText(const ReplaySetup& setup);

// One setup difference in the form of the differences: its groups by their
// labels, where, what and both values.
Json setupDifferenceJson(const SetupDifference& d, const std::string& from, const std::string& to);

}  // namespace skidlog

#endif  // SKIDLOG_REPORT_OUTPUT_JSON_JSON_SETUP_H_
