// skidlog-report's command line: options, help, messages and exit codes; the
// report is built before any output is opened.
#ifndef SKIDLOG_REPORT_CLI_REPORT_RUN_H_
#define SKIDLOG_REPORT_CLI_REPORT_RUN_H_

#include <ostream>
#include <span>
#include <string>

#include "report/cli/options.h"
#include "skidlog/skidlog.h"

namespace skidlog {

// Runs `skidlog-report [OPTION]... REPLAY... [--vs REPLAY...]...` on `args`
// (args[0] the program path). Help and version go to `out`, every other
// message to `messages`, each line beginning "skidlog-report: "; with
// `terminal`, a progress line is drawn there too. Returns the exit code: 0
// done, 1 usage, 2 a replay cannot be opened, 3 an output cannot be opened or
// names a replay, 4 a replay is not usable (or a group's replays are of
// different cars), 5 a write failed.
int runReport(std::span<const char* const> args, std::ostream& out, std::ostream& messages, bool terminal = false);

}  // namespace skidlog

#endif  // SKIDLOG_REPORT_CLI_REPORT_RUN_H_
