// A why's links in words: one short line each, in the reader's speed unit.
#ifndef SKIDLOG_REPORT_OUTPUT_WORDS_WHY_WORDS_H_
#define SKIDLOG_REPORT_OUTPUT_WORDS_WHY_WORDS_H_

#include <string>

#include "report/laps/why/corner_why.h"
#include "report/output/words/speed_unit.h"

namespace skidlog {

// Whether a link is evidence to show first: a claimed difference, or a
// setup difference as recorded.
bool shownFirst(const WhyLink& link);

// A link in a short line, speeds in the reader's unit: "middle understeer
// −4.5° (−6.1 to −3.0): consistent with its rule (a larger front share ...)".
// A rule's line states its rule.
std::string whyLine(const WhyLink& link, SpeedUnit unit = SpeedUnit::metresPerSecond);

}  // namespace skidlog

#endif  // SKIDLOG_REPORT_OUTPUT_WORDS_WHY_WORDS_H_
