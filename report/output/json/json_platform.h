// The car's platform in the report's JSON:
// {"roll_gradient_deg_per_g", "lltd_front", "pitch_gradient_deg_per_g", each
// with KEY_ci and KEY_laps; "travel_used" and "at_travel_end_s" by wheel
// ({"FL": ..., ...}) with KEY_ci likewise; "damper": by wheel
// {"edges_mm_s", "share", "bump_slow", "bump_fast", "rebound_slow",
// "rebound_fast" with KEY_ci}, or null where not measured; "damper_knee_mm_s";
// "notes"}.
#ifndef SKIDLOG_REPORT_OUTPUT_JSON_JSON_PLATFORM_H_
#define SKIDLOG_REPORT_OUTPUT_JSON_JSON_PLATFORM_H_

#include "report/analysis/platform/platform.h"
#include "report/output/json/format/json_number.h"

namespace skidlog {

Json platformJson(const Platform& platform);

}  // namespace skidlog

#endif  // SKIDLOG_REPORT_OUTPUT_JSON_JSON_PLATFORM_H_
