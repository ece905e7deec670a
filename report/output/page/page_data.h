// The data the report page draws from, as JSON text: per wheel the thinned
// points, the fitted curves with their 95 % bands and peaks, the load bands
// and the friction circle's envelope, the tables' numbers; and the traces of
// every replay.
#ifndef SKIDLOG_REPORT_OUTPUT_PAGE_PAGE_DATA_H_
#define SKIDLOG_REPORT_OUTPUT_PAGE_PAGE_DATA_H_

#include <cstddef>
#include <string>

#include "report/output/json/format/json_text.h"
#include "report/report_data.h"

namespace skidlog {

std::string pageData(const ReportData& report);

// An estimate as the page's script reads it: {"value", "low", "high"}.
void pageEstimate(JsonText& j, const Estimate& e);

}  // namespace skidlog

#endif  // SKIDLOG_REPORT_OUTPUT_PAGE_PAGE_DATA_H_
