// A tyre's fits in words: why a number is left out.
#ifndef SKIDLOG_REPORT_OUTPUT_WORDS_TYRE_WORDS_H_
#define SKIDLOG_REPORT_OUTPUT_WORDS_TYRE_WORDS_H_

#include <string>
#include <vector>

#include "report/analysis/tyres/tyre_analysis.h"

namespace skidlog {

// Why a wheel's or an axle's number is left out, for the JSON's notes: a
// curve whose peak factor ran to a bound (no cornering stiffness), a load
// sensitivity that load cannot be told apart from slip and side for.
std::vector<std::string> tyreNotes(const TyreAnalysis& analysis);

}  // namespace skidlog

#endif  // SKIDLOG_REPORT_OUTPUT_WORDS_TYRE_WORDS_H_
