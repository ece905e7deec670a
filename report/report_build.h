// The report's pipeline, from replays to what it shows: every replay read,
// loaded and derived into its group, the groups labelled, fitted and compared,
// and the laps read by place. The command line, the Python binding and the
// fuzzer all build their reports here; none of it writes a file.
#ifndef SKIDLOG_REPORT_REPORT_BUILD_H_
#define SKIDLOG_REPORT_REPORT_BUILD_H_

#include <cstdint>
#include <functional>
#include <ostream>
#include <span>
#include <string>
#include <vector>

#include "report/report_data.h"
#include "report/report_request.h"
#include "skidlog/skidlog.h"

namespace skidlog {

// How the pipeline tells how far it has come: a short text, replaced by the
// next; called with an empty text when the work is done.
using ProgressReport = std::function<void(const std::string&)>;

// Builds the report `request` asks for into `report`. Each message goes to
// `messages` as a line of its own, without the program's name. A replay that
// is one of `outputs` (by any path or link) is refused before it is loaded.
// `forPage`: a page will be drawn, so the report keeps what it draws: the
// tyres' scatters, and a report of one group its replays' traces (a report
// of several groups draws none and keeps none).
// REQUIRES: checkGroups(request) is empty.
ExitCode buildReport(const ReportRequest& request, std::span<const std::string> outputs, bool forPage,
                     ReportData& report, std::ostream& messages, const ProgressReport& progress = {});

// The summary of the replay `file` whose header holds `names`, decoded as
// the simulator shows them.
ReplaySummary replaySummary(std::string file, const ReplayNames& names);

// Adds one loaded replay with its wheel series derived to `group`, as the
// pipeline adds it: its summary, its lap when it records split times
// `splitsMs`, and its traces when `withTrace`.
void addLoadedReplay(ReportGroup& group, ReplaySummary summary, const std::vector<std::int32_t>& splitsMs,
                     Replay& replay, bool withTrace);

// The JSON summary of the report `request` asks for, made in memory (what
// `skidlog-report --json` writes); messages go to `messages` as buildReport
// gives them, a request whose groups are not sound among them (exit 1); a
// failure leaves `json` as it was.
ExitCode reportJson(const ReportRequest& request, std::string& json, std::ostream& messages);

}  // namespace skidlog

#endif  // SKIDLOG_REPORT_REPORT_BUILD_H_
