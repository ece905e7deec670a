#include "report/cli/report_run.h"

#include <string>
#include <string_view>
#include <vector>

#include "report/cli/messages.h"
#include "report/cli/options.h"
#include "report/output/json/json_summary.h"
#include "report/output/page/html_report.h"
#include "report/report_build.h"
#include "skidlog/skidlog.h"

namespace skidlog {
namespace {

constexpr std::string_view helpText =
    "Usage: skidlog-report [OPTION]... REPLAY... [--vs REPLAY...]...\n"
    "Fit tyre curves to replays and report them, each number with its 95 %\n"
    "interval; compare two to four groups of replays; or rank any number of\n"
    "groups (drivers with --by player) as a session.\n"
    "\n"
    "  -o, --output=FILE  write the report page to FILE (default: the first\n"
    "                     replay's name with .html; not with --json alone);\n"
    "                     - for standard output\n"
    "      --json=FILE    write the fitted curves and differences as JSON to FILE;\n"
    "                     - for standard output\n"
    "      --vs           start the next group of replays to compare\n"
    "      --label=NAME   name the group this option stands in (default: its\n"
    "                     first replay's file name without folder and extension)\n"
    "      --by=FIELD     group the replays by car, track, player or setup\n"
    "                     (replays of identical car setups) instead\n"
    "      --reference=FILE\n"
    "                     lay the laps of its track against this replay\n"
    "                     (default: the track's fastest complete lap)\n"
    "      --speed-unit=UNIT\n"
    "                     show speeds in m/s (the default), km/h or mph on the\n"
    "                     page and in the findings; the JSON's stay in m/s\n"
    "  -h, --help         show this help and exit\n"
    "      --version      show the version and exit\n"
    "\n"
    "The replays of a group pool their points and must be of one car. With two\n"
    "to four groups each later group is compared with the first: a difference is\n"
    "shown only where its interval leaves zero out (95 % for tyres, balance and\n"
    "platform; for lap and corner numbers, one 5 % false discovery rate over the\n"
    "comparison). Every report with complete laps ranks its groups by pace, with\n"
    "a range of ranks, and times each group's corners against the fastest's; with\n"
    "five groups or more that session replaces the comparison.\n"
    "Exit status: 0 done, 1 wrong usage or a replay given twice, 2 a replay\n"
    "cannot be opened, 3 an output cannot be written or names a replay, 4 a\n"
    "replay is not usable (no replay signature, too short) or a group's replays\n"
    "are of different cars, 5 writing failed.\n";

int usageError(std::ostream& messages, const std::string& problem) {
  messages << program << ": " << problem << "\n"
           << "Try '" << program << " --help' for more information." << std::endl;
  return static_cast<int>(ExitCode::usage);
}

// lap.raf gives lap.html; a name without an extension gets one.
std::string pageNameFor(const std::string& replay) { return replay.substr(0, extensionAt(replay)) + ".html"; }

// Standard output is named "-", as the tools a report is piped to expect.
constexpr const char* standardOutput = "-";

ExitCode writeText(const std::string& path, const std::string& text, std::ostream& out, std::ostream& messages) {
  if (path == standardOutput) {
    out << text << '\n' << std::flush;
    if (out) return ExitCode::success;
    messages << program << ": could not write to standard output." << std::endl;
    return ExitCode::writeFailed;
  }
  OutputFile file(path);
  if (!file.open()) {
    messages << program << ": could not open file: " << path << "." << std::endl;
    return ExitCode::outputNotOpened;
  }
  const bool written = file.writeLine(text);
  if (!file.close() || !written) {
    messages << program << ": could not write file: " << path << "." << std::endl;
    return ExitCode::writeFailed;
  }
  return ExitCode::success;
}

}  // namespace

int runReport(std::span<const char* const> args, std::ostream& out, std::ostream& messages, bool terminal) {
  Options o;
  if (const std::string problem = parseOptions(args, o); !problem.empty()) return usageError(messages, problem);
  if (o.help) {
    out << helpText << std::flush;
    return 0;
  }
  if (o.version) {
    out << program << " " << SKIDLOG_VERSION << std::endl;
    return 0;
  }
  // With neither output named, the page goes beside the first replay.
  if (!o.page && !o.json) o.page = pageNameFor(o.groups.front().replays.front());
  if (o.page && o.json && *o.page == *o.json) {
    return usageError(messages, *o.page == standardOutput ? "the page and the JSON cannot both go to standard output"
                                                          : "the page and the JSON need two files");
  }

  std::vector<std::string> outputs;
  if (o.page && *o.page != standardOutput) outputs.push_back(*o.page);
  if (o.json && *o.json != standardOutput) outputs.push_back(*o.json);
  Progress progress(messages, terminal);
  PrefixedLines prefixed(messages, &progress);
  std::ostream reportMessages(&prefixed);
  const auto show = [&](const std::string& text) {
    if (text.empty()) {
      progress.clear();
    } else {
      progress.show(text);
    }
  };
  ReportData report;
  if (const ExitCode code = buildReport(o, outputs, o.page.has_value(), report, reportMessages, show);
      code != ExitCode::success) {
    return static_cast<int>(code);
  }
  if (o.json) {
    if (const ExitCode code = writeText(*o.json, jsonSummary(report), out, messages); code != ExitCode::success) {
      return static_cast<int>(code);
    }
  }
  if (o.page) return static_cast<int>(writeText(*o.page, htmlReport(report), out, messages));
  return 0;
}

}  // namespace skidlog
