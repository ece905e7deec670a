// The platform in words: what the replays do not give it.
#ifndef SKIDLOG_REPORT_OUTPUT_WORDS_PLATFORM_WORDS_H_
#define SKIDLOG_REPORT_OUTPUT_WORDS_PLATFORM_WORDS_H_

#include <string>
#include <vector>

#include "report/analysis/platform/platform.h"

namespace skidlog {

// "recorded every 100 ms: a damper's stroke is over between two samples, so
// its velocity is not measured", and the like, one per gap.
std::vector<std::string> platformNotes(const Platform& platform);

}  // namespace skidlog

#endif  // SKIDLOG_REPORT_OUTPUT_WORDS_PLATFORM_WORDS_H_
