// skidlog-report's command line, GNU style:
//   skidlog-report [OPTION]... REPLAY... [--vs REPLAY...]...
// `--vs` starts the next group to compare; `--label NAME` names the group it
// stands in; `--by car|track|player` groups the replays by that name instead.
#ifndef SKIDLOG_REPORT_CLI_OPTIONS_H_
#define SKIDLOG_REPORT_CLI_OPTIONS_H_

#include <optional>
#include <span>
#include <string>

#include "report/report_request.h"

namespace skidlog {

// The report asked for, and where it goes.
struct Options : ReportRequest {
  std::optional<std::string> page;
  std::optional<std::string> json;
  bool help = false;
  bool version = false;
};

// Reads the options; returns what is wrong with them, empty when they are sound.
std::string parseOptions(std::span<const char* const> args, Options& o);

}  // namespace skidlog

#endif  // SKIDLOG_REPORT_CLI_OPTIONS_H_
