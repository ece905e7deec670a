#include "report/cli/report_run.h"

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "report/cli/messages.h"
#include "report/cli/options.h"
#include "report/cli/simulator_text.h"
#include "report/fit/bootstrap.h"
#include "report/fit/random.h"
#include "report/laps/lap_analysis.h"
#include "report/output/page/html_report.h"
#include "report/output/json/json_summary.h"
#include "skidlog/skidlog.h"

namespace skidlog {
namespace {

constexpr std::string_view helpText =
    "Usage: skidlog-report [OPTION]... REPLAY... [--vs REPLAY...]...\n"
    "Fit tyre curves to replays and report them, each number with its 95 %\n"
    "interval; or compare two to four groups of replays.\n"
    "\n"
    "  -o, --output=FILE  write the report page to FILE (default: the first\n"
    "                     replay's name with .html; not with --json alone)\n"
    "      --json=FILE    write the fitted curves and differences as JSON to FILE\n"
    "      --vs           start the next group of replays to compare\n"
    "      --label=NAME   name the group this option stands in (default: its\n"
    "                     first replay's file name without folder and extension)\n"
    "      --by=FIELD     group the replays by car, track or player instead\n"
    "      --reference=FILE\n"
    "                     lay the laps of its track against this replay\n"
    "                     (default: the track's fastest complete lap)\n"
    "  -h, --help         show this help and exit\n"
    "      --version      show the version and exit\n"
    "\n"
    "The replays of a group pool their points and must be of one car. Each later\n"
    "group is compared with the first: a difference is shown only where its\n"
    "95 % interval leaves zero out.\n"
    "Exit status: 0 done, 1 wrong usage, 2 a replay cannot be opened,\n"
    "3 an output cannot be written or names a replay, 4 a replay is not usable\n"
    "or a group's replays are of different cars, 5 writing failed.\n";

int usageError(std::ostream& messages, const std::string& problem) {
  messages << program << ": " << problem << "\n"
           << "Try '" << program << " --help' for more information." << std::endl;
  return static_cast<int>(ExitCode::usage);
}

// lap.raf gives lap.html; a name without an extension gets one.
std::string pageNameFor(const std::string& replay) { return replay.substr(0, extensionAt(replay)) + ".html"; }

const std::string& fieldOf(const ReplaySummary& r, GroupBy by) {
  return by == GroupBy::car ? r.car : by == GroupBy::track ? r.track : r.player;
}

// The group a replay joins: given on the command line, or found (or opened)
// by its name.
ReportGroup& groupFor(ReportData& report, const Options& o, std::size_t requested, const ReplaySummary& r) {
  if (o.by == GroupBy::commandLine) return report.groups[requested];
  const std::string key = fieldOf(r, o.by).empty() ? "(no name)" : fieldOf(r, o.by);
  for (ReportGroup& g : report.groups) {
    if (g.label == key) return g;
  }
  report.groups.emplace_back().label = key;
  return report.groups.back();
}

// Reads, loads and derives one replay, and adds its points, names and (for a
// page) traces to its group.
ExitCode addReplay(const std::string& file, const std::vector<std::string>& outputs, bool withTrace,
                   const Options& o, std::size_t requested, ReportData& report, std::ostream& messages,
                   std::ostream& libraryMessages, Progress& progress) {
  ConvertOptions options;
  options.inputName = file;
  options.memoryLimit = physicalMemory();
  options.eachWheel = eachWheelOnCores;
  Replay replay;
  ReplayNames names;
  const ExitCode read = loadReplayFile(options, outputs, replay, libraryMessages, &names);
  if (read != ExitCode::success) return read;
  ReplaySummary summary;
  summary.file = file;
  summary.car = decodeSimulatorText(names.car);
  summary.player = decodeSimulatorText(names.player);
  summary.track = decodeSimulatorText(names.track);
  summary.layout = decodeSimulatorText(names.layout);
  ReportGroup& group = groupFor(report, o, requested, summary);
  if (!group.replays.empty() && summary.car != group.replays.front().car) {
    const ReplaySummary& first = group.replays.front();
    progress.clear();
    messages << program << ": " << file << " is a replay of " << summary.car << ", " << first.file << " of "
             << first.car << "; the replays of a group must be of one car (compare cars with --vs or --by car)."
             << std::endl;
    return ExitCode::notAReplay;
  }
  summary.samples = replay.sampleCount();
  summary.interval = replay.header.sampleInterval;
  if (!names.splitsMs.empty()) summary.lap = lapSamples(replay, std::move(names.splitsMs));
  // The four wheels of each stage at once, on the machine's cores.
  deriveWheelSeries(replay, eachWheelOnCores);
  group.add(replay);
  if (withTrace) summary.trace = takeTrace(replay);
  group.replays.push_back(std::move(summary));
  return ExitCode::success;
}

// Labels from --label or the first replay's name; a second "lap" becomes "lap (2)".
void labelGroups(ReportData& report, const Options& o) {
  std::vector<std::string> taken;
  for (std::size_t g = 0; g < report.groups.size(); ++g) {
    ReportGroup& group = report.groups[g];
    if (o.by == GroupBy::commandLine) {
      group.label = o.groups[g].label ? *o.groups[g].label : defaultLabel(o.groups[g].replays.front());
    }
    const std::string wanted = group.label;
    for (int copy = 2; std::find(taken.begin(), taken.end(), group.label) != taken.end(); ++copy) {
      group.label = wanted + " (" + std::to_string(copy) + ")";
    }
    taken.push_back(group.label);
  }
}

std::string groupList(const ReportData& report) {
  std::string names;
  for (const ReportGroup& g : report.groups) names += (names.empty() ? "" : ", ") + g.label;
  return names;
}

// Tells which fits had too few points.
void tellMissingFits(const ReportData& report, std::ostream& messages) {
  for (const ReportGroup& group : report.groups) {
    const std::string of = report.comparison() ? " of " + group.label : "";
    for (std::size_t w = 0; w < group.wheels.size(); ++w) {
      const TyreAnalysis& a = group.wheels[w];
      const auto tell = [&](bool fitted, const char* what) {
        if (fitted) return;
        messages << program << ": too few points for the " << wheelNames[w] << " " << what << " fit" << of
                 << " (fewer than " << minFitPoints << ", or fewer than eight distinct slips); it is left out."
                 << std::endl;
      };
      tell(a.lateral.has_value(), "lateral");
      tell(a.longitudinal.has_value(), "longitudinal");
    }
  }
}

ExitCode writeText(const std::string& path, const std::string& text, std::ostream& messages) {
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

// Reads every replay of `o` into its group, labels the groups, fits them and
// compares them. Nothing is written; `outputs` are only checked against the
// replays.
ExitCode buildReport(const Options& o, const std::vector<std::string>& outputs, ReportData& report,
                     std::ostream& messages, Progress& progress) {
  PrefixedLines prefixed(messages, &progress);
  std::ostream libraryMessages(&prefixed);
  if (o.by == GroupBy::commandLine) report.groups.resize(o.groups.size());
  std::size_t total = 0, done = 0;
  for (const GroupRequest& g : o.groups) total += g.replays.size();
  for (std::size_t g = 0; g < o.groups.size(); ++g) {
    for (const std::string& file : o.groups[g].replays) {
      progress.show("read " + std::to_string(done) + " of " + std::to_string(total) + " replays");
      const ExitCode code =
          addReplay(file, outputs, o.page.has_value(), o, g, report, messages, libraryMessages, progress);
      if (code != ExitCode::success) return code;
      ++done;
    }
  }
  if (report.groups.size() > maxGroups) {
    progress.clear();
    messages << program << ": --by " << groupByName(o.by) << " puts the replays in " << report.groups.size()
             << " groups (" << groupList(report) << "); at most " << maxGroups << " can be compared." << std::endl;
    return ExitCode::usage;
  }
  labelGroups(report, o);
  for (std::size_t g = 0; g < report.groups.size(); ++g) {
    progress.show("read " + std::to_string(total) + " replays; fitting group " + std::to_string(g + 1) + " of " +
                  std::to_string(report.groups.size()));
    // Each group its own draws: the groups are resampled independently.
    analyseGroup(report.groups[g], reportSeed + g);
  }
  if (report.comparison()) report.differences = compareGroups(report.groups);
  std::vector<std::string> lapMessages;
  report.tracks = analyseTracks(report.groups, o.reference, lapMessages);
  if (report.comparison()) {
    const std::vector<Difference> corners = compareCorners(report.tracks);
    report.differences.insert(report.differences.end(), corners.begin(), corners.end());
    sortDifferences(report.differences);
  }
  progress.clear();
  for (const std::string& m : lapMessages) messages << program << ": " << m << std::endl;
  tellMissingFits(report, messages);
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
  if (o.page && o.json && *o.page == *o.json) return usageError(messages, "the page and the JSON need two files");

  std::vector<std::string> outputs;
  if (o.page) outputs.push_back(*o.page);
  if (o.json) outputs.push_back(*o.json);
  Progress progress(messages, terminal);
  ReportData report;
  if (const ExitCode code = buildReport(o, outputs, report, messages, progress); code != ExitCode::success) {
    return static_cast<int>(code);
  }
  if (o.json) {
    if (const ExitCode code = writeText(*o.json, jsonSummary(report), messages); code != ExitCode::success) {
      return static_cast<int>(code);
    }
  }
  if (o.page) return static_cast<int>(writeText(*o.page, htmlReport(report), messages));
  return 0;
}

ExitCode reportJson(const Options& o, std::string& json, std::ostream& messages) {
  if (const std::string problem = checkGroups(o); !problem.empty()) {
    messages << program << ": " << problem << std::endl;
    return ExitCode::usage;
  }
  Options jsonOnly = o;
  jsonOnly.page.reset();
  jsonOnly.json.reset();
  Progress progress(messages, false);
  ReportData report;
  const ExitCode code = buildReport(jsonOnly, {}, report, messages, progress);
  if (code == ExitCode::success) json = jsonSummary(report);
  return code;
}

}  // namespace skidlog
