// Why a difference's verdict is what it is, in words, for the JSON's notes
// and the page: each of its notes' reasons, and where its laps disagree past
// what its quantity can be, whose laps and which one.
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

// A note in words, its groups named by `labels`: "club: full brake in 2 of 2
// laps; record: full brake in 0 of 1 lap, mean 0.84: laps at the limit show
// no spread, so the difference cannot be judged".
std::string noteText(const DifferenceNote& note, const std::vector<std::string>& labels);

// Where group `to`'s tyre types differ from the first group's, as the first
// of its differences that notes it says: "tyre types differ: front road
// normal against hybrid"; empty where they do not.
std::string tyreTypesText(const std::vector<Difference>& differences, std::size_t to);

// A difference's notes, with "the laps disagree here: ..." where they do;
// `labels` are the groups'.
std::vector<std::string> notesOf(const Difference& d, const std::vector<std::string>& labels);

}  // namespace skidlog

#endif  // SKIDLOG_REPORT_OUTPUT_WORDS_DIFFERENCE_WORDS_H_
