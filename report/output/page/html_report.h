// The report as one self-contained HTML page: the chart library, the data and
// the styles inlined, nothing fetched. Every text that comes from a file is
// escaped for its place (HTML text, or inline script data with no raw '<').
#ifndef SKIDLOG_REPORT_OUTPUT_PAGE_HTML_REPORT_H_
#define SKIDLOG_REPORT_OUTPUT_PAGE_HTML_REPORT_H_

#include <string>
#include <string_view>

#include "report/report_data.h"

namespace skidlog {


std::string htmlReport(const ReportData& report);

// `text` with & < > " ' replaced by character references.
std::string escapeHtml(std::string_view text);

}  // namespace skidlog

#endif  // SKIDLOG_REPORT_OUTPUT_PAGE_HTML_REPORT_H_
