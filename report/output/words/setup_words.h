// Setups in words: the groups whose replays hold several car setups.
#ifndef SKIDLOG_REPORT_OUTPUT_WORDS_SETUP_WORDS_H_
#define SKIDLOG_REPORT_OUTPUT_WORDS_SETUP_WORDS_H_

#include <string>
#include <vector>

#include "report/analysis/setup/setup_differences.h"

namespace skidlog {

// A note for each group whose replays hold more than one setup, naming the
// group by `labels` where there are several groups: "club: its replays hold
// 2 car setups; the group is compared by its first replay's setup (...)".
std::vector<std::string> setupNotes(const std::vector<SetupMix>& mixes, const std::vector<std::string>& labels);

}  // namespace skidlog

#endif  // SKIDLOG_REPORT_OUTPUT_WORDS_SETUP_WORDS_H_
