// A why's links in words: one short line each, in the reader's speed unit.
#ifndef SKIDLOG_REPORT_OUTPUT_WORDS_WHY_WORDS_H_
#define SKIDLOG_REPORT_OUTPUT_WORDS_WHY_WORDS_H_

#include <string>

#include "report/laps/why/corner_why.h"
#include "report/quantity/speed_unit.h"

namespace skidlog {

// A rule in words: "dampers act while the body moves: on entry and exit".
const char* ruleText(WhyRule rule);

// A link's rule in words, and for a setup link its recorded change after it
// ("... (front anti-roll bar 22000 to 67000)"); empty where it has no rule.
std::string ruleWithRecord(const WhyLink& link);

// Whether a link is evidence to show first: a claimed difference, or a
// setup difference as recorded.
bool shownFirst(const WhyLink& link);

// A link in a short line, speeds in the reader's unit: "middle understeer
// −4.5° (−6.1 to −3.0): consistent with its rule (a larger front share ...)".
// A rule's line states its rule.
std::string whyLine(const WhyLink& link, SpeedUnit unit = SpeedUnit::metresPerSecond);

}  // namespace skidlog

#endif  // SKIDLOG_REPORT_OUTPUT_WORDS_WHY_WORDS_H_
