// The report's findings as JSON: the replays, and per wheel and axle the
// fitted curves with the intervals of what the data determines, the load
// bands and the friction circle; for a comparison, that per group, and the
// differences between the groups.
#ifndef SKIDLOG_REPORT_OUTPUT_JSON_JSON_SUMMARY_H_
#define SKIDLOG_REPORT_OUTPUT_JSON_JSON_SUMMARY_H_

#include <string>

#include "report/output/json/format/json_number.h"
#include "report/report_data.h"

namespace skidlog {

// How a member is written: `full` for the JSON file, every member present;
// `compact` for the page, members left out where they are null, empty or (a
// difference's groups, verdict and notes) the previous entry's. Numbers are
// exact in both.
enum class JsonForm { full, compact };

// A comparison's differences between its groups: `differences`.
Json differencesJson(const ReportData& report, JsonForm form);

// Each later group's setup items that differ from the first's, with their
// words: `setup_differences`.
Json setupDifferencesJson(const ReportData& report);

// Every quantity the report names: its words, unit, decimals, resolution,
// the range of its values (null where a bound is open or the track's), what
// bounds it, which way is better, its phase, and the tyre curve where its
// unit depends on one: `quantities`.
Json quantitiesJson(JsonForm form);

// The summary as indented JSON text ending in a line feed. Every string is
// UTF-8; a missing fit or friction-circle sector is null.
std::string jsonSummary(const ReportData& report);

}  // namespace skidlog

#endif  // SKIDLOG_REPORT_OUTPUT_JSON_JSON_SUMMARY_H_
