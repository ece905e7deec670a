// The report's findings as JSON: the replays, and per wheel and axle the
// fitted curves with the intervals of what the data determines, the load
// bands and the friction circle; for a comparison, that per group, and the
// differences between the groups.
#ifndef SKIDLOG_REPORT_OUTPUT_JSON_JSON_SUMMARY_H_
#define SKIDLOG_REPORT_OUTPUT_JSON_JSON_SUMMARY_H_

#include <string>

#include "report/report_data.h"

namespace skidlog {

// The summary as indented JSON text ending in a line feed. Every string is
// UTF-8; a missing fit or friction-circle sector is null.
std::string jsonSummary(const ReportData& report);

}  // namespace skidlog

#endif  // SKIDLOG_REPORT_OUTPUT_JSON_JSON_SUMMARY_H_
