// Why a difference's verdict is what it is, in words, for the JSON's notes
// and the page: where its laps disagree past what its quantity can be, whose
// laps and which one.
#ifndef SKIDLOG_REPORT_OUTPUT_WORDS_DIFFERENCE_WORDS_H_
#define SKIDLOG_REPORT_OUTPUT_WORDS_DIFFERENCE_WORDS_H_

#include <string>
#include <vector>

#include "report/analysis/compare/differences.h"

namespace skidlog {

// "club's 2 laps spread 0.724 s from lap to lap, more than an interval over
// so few can bound; a2 61.27 s against 60.42 s for its other lap", the
// group named `group`; empty where it is not known.
std::string disagreementText(const Difference& d, const std::string& group);

// A difference's notes, with "the laps disagree here: ..." where they do;
// `labels` are the groups'.
std::vector<std::string> notesOf(const Difference& d, const std::vector<std::string>& labels);

}  // namespace skidlog

#endif  // SKIDLOG_REPORT_OUTPUT_WORDS_DIFFERENCE_WORDS_H_
