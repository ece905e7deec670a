// Setups in words: a setup in a line, one difference, what sets a setup
// apart for a label, and the groups whose replays hold several setups.
#ifndef SKIDLOG_REPORT_OUTPUT_WORDS_SETUP_WORDS_H_
#define SKIDLOG_REPORT_OUTPUT_WORDS_SETUP_WORDS_H_

#include <span>
#include <string>
#include <vector>

#include "raf/replay_setup.h"

#include "report/analysis/setup/setup_differences.h"

namespace skidlog {

// What sets `setup` apart from `others` in a few words ("hybrid, final 7.5"):
// the tyre types and the final drive where they differ from every other
// setup's; empty where neither does.
std::string setupApart(const ReplaySetup& setup, std::span<const ReplaySetup> others);

// One difference in words: "rear springs 62000 to 50000 N/m", "final drive
// 7.5 to 3".
std::string describe(const SetupDifference& d);

// A group's setup in a line, per axle where left and right agree:
// "tyres hybrid / road normal; springs 62.0 / 61.6 kN/m; ...".
std::string setupLine(const ReplaySetup& setup);

// A note for each group whose replays hold more than one setup, naming the
// group by `labels` where there are several groups: "club: its replays hold
// 2 car setups; the group is compared by its first replay's setup (...)".
std::vector<std::string> setupNotes(const std::vector<SetupMix>& mixes, const std::vector<std::string>& labels);

}  // namespace skidlog

#endif  // SKIDLOG_REPORT_OUTPUT_WORDS_SETUP_WORDS_H_
