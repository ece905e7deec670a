// A track's session as the page's script reads it: its groups ranked by
// pace, each group's time per corner against the fastest's, and where the
// faster third gains.
#ifndef SKIDLOG_REPORT_OUTPUT_PAGE_PAGE_SESSION_H_
#define SKIDLOG_REPORT_OUTPUT_PAGE_PAGE_SESSION_H_

#include "report/output/json/format/json_text.h"
#include "report/report_data.h"

namespace skidlog {

// The "session" member of the page's data: the first track's session, null
// without a track.
void pageSession(JsonText& j, const ReportData& report);

}  // namespace skidlog

#endif  // SKIDLOG_REPORT_OUTPUT_PAGE_PAGE_SESSION_H_
