// A track's session as the report's JSON writes it: `session`, its groups
// ranked by pace, each group's time per corner against the fastest group's,
// and where the faster third of the field gains.
#ifndef SKIDLOG_REPORT_OUTPUT_JSON_JSON_SESSION_H_
#define SKIDLOG_REPORT_OUTPUT_JSON_JSON_SESSION_H_

#include "report/output/json/format/json_number.h"
#include "report/report_data.h"

namespace skidlog {

// The session of the report's first track holding a complete lap; null
// without one.
Json sessionJson(const ReportData& report);

}  // namespace skidlog

#endif  // SKIDLOG_REPORT_OUTPUT_JSON_JSON_SESSION_H_
