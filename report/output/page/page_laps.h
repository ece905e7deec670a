// The laps by place as the page's script reads them: per track the reference
// path at its trace points, every lap's delta, speed and grip use there, and
// the corners with their numbers per lap and per group.
#ifndef SKIDLOG_REPORT_OUTPUT_PAGE_PAGE_LAPS_H_
#define SKIDLOG_REPORT_OUTPUT_PAGE_PAGE_LAPS_H_

#include <cstddef>

#include "report/report_data.h"
#include "report/output/json/format/json_text.h"

namespace skidlog {

// A track of more laps than this holds the traces of its reference and each
// group's best lap only.
inline constexpr std::size_t maxTracedLaps = 12;

// The "tracks" member of the page's data.
void pageTracks(JsonText& j, const ReportData& report);

// The corner numbers in the columns of the page's corner tables, and a
// phase's numbers in their order, as "cornerTables": {"corners": [keys],
// "actions": [keys], "phases": [keys]}.
void pageCornerTables(JsonText& j);

}  // namespace skidlog

#endif  // SKIDLOG_REPORT_OUTPUT_PAGE_PAGE_LAPS_H_
