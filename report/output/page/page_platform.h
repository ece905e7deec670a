// The car's platform as the page's script reads it: per group its gradients
// and share with their intervals, the charts' bins and lines, and per wheel
// the travel used, the time at its end and the damper's histogram.
#ifndef SKIDLOG_REPORT_OUTPUT_PAGE_PAGE_PLATFORM_H_
#define SKIDLOG_REPORT_OUTPUT_PAGE_PAGE_PLATFORM_H_

#include "report/analysis/platform/platform.h"
#include "report/output/json/format/json_text.h"

namespace skidlog {

// A group's "platform" member's value.
void pagePlatform(JsonText& j, const Platform& platform);

// The damper histograms' inner edges, mm/s, and their knee, as
// "damperEdges" and "damperKnee".
void pageDamperEdges(JsonText& j);

}  // namespace skidlog

#endif  // SKIDLOG_REPORT_OUTPUT_PAGE_PAGE_PLATFORM_H_
