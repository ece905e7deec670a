// The laps read by place, as the report's JSON writes them: per track the
// reference, every lap's recorded and aligned times, and the corners with
// their numbers per lap and per group.
#ifndef SKIDLOG_REPORT_OUTPUT_JSON_JSON_LAPS_H_
#define SKIDLOG_REPORT_OUTPUT_JSON_JSON_LAPS_H_

#include "report/report_data.h"
#include "report/output/json/format/json_number.h"

namespace skidlog {

// Where the time goes in each comparison: `findings` of the JSON summary.
Json findingsJson(const ReportData& report);

// What each comparison's lap and corner differences claim: `claims`.
Json claimsJson(const ReportData& report);

// The "tracks" array: one entry per track holding a complete lap.
Json tracksJson(const ReportData& report);

}  // namespace skidlog

#endif  // SKIDLOG_REPORT_OUTPUT_JSON_JSON_LAPS_H_
