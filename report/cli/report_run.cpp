#include "report/cli/report_run.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "report/cli/simulator_text.h"
#include "report/fit/bootstrap.h"
#include "report/output/html_report.h"
#include "report/output/json_summary.h"
#include "skidlog/skidlog.h"

namespace skidlog {
namespace {

constexpr std::string_view program = "skidlog-report";
constexpr std::string_view helpText =
    "Usage: skidlog-report [OPTION]... REPLAY.raf...\n"
    "Fit tyre curves to the replays of one car and report them.\n"
    "\n"
    "  -o, --output=FILE  write the report page to FILE (default: the first\n"
    "                     replay's name with .html; not with --json alone)\n"
    "      --json=FILE    write the fitted curves as JSON to FILE\n"
    "  -h, --help         show this help and exit\n"
    "      --version      show the version and exit\n"
    "\n"
    "Several replays pool their points; they must all be of one car.\n"
    "Exit status: 0 done, 1 wrong usage, 2 a replay cannot be opened,\n"
    "3 an output cannot be written or names a replay, 4 a replay is not usable,\n"
    "5 writing failed.\n";

struct Options {
  std::optional<std::string> page;
  std::optional<std::string> json;
  std::vector<std::string> replays;
  bool help = false;
  bool version = false;
};

int usageError(std::ostream& messages, const std::string& problem) {
  messages << program << ": " << problem << "\n"
           << "Try '" << program << " --help' for more information." << std::endl;
  return static_cast<int>(ExitCode::usage);
}

// GNU-style options; returns an error text, empty when the line is sound.
std::string parse(std::span<const char* const> args, Options& o) {
  bool optionsEnd = false;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string_view a = args[i];
    const auto value = [&](std::string_view name, std::optional<std::string>& into) -> std::string {
      if (a.size() > name.size() && a.substr(0, name.size()) == name && a[name.size()] == '=') {
        into = std::string(a.substr(name.size() + 1));
      } else if (i + 1 < args.size()) {
        into = std::string(args[++i]);
      } else {
        return "option '" + std::string(name) + "' requires a file name";
      }
      return {};
    };
    if (optionsEnd || a == "-" || a.empty() || a[0] != '-') {
      o.replays.emplace_back(a);
    } else if (a == "--") {
      optionsEnd = true;
    } else if (a == "-h" || a == "--help") {
      o.help = true;
    } else if (a == "--version") {
      o.version = true;
    } else if (a == "-o") {
      if (std::string e = value("-o", o.page); !e.empty()) return e;
    } else if (a.starts_with("-o")) {
      o.page = std::string(a.substr(2));
    } else if (a == "--output" || a.starts_with("--output=")) {
      if (std::string e = value("--output", o.page); !e.empty()) return e;
    } else if (a == "--json" || a.starts_with("--json=")) {
      if (std::string e = value("--json", o.json); !e.empty()) return e;
    } else {
      return "unrecognised option '" + std::string(a) + "'";
    }
  }
  return {};
}

// Reads, loads and derives one replay, then keeps its points and names, and
// its traces when they will be drawn.
ExitCode addReplay(const std::string& file, const std::vector<std::string>& outputs, bool withTrace,
                   ReportData& report, std::ostream& messages) {
  ConvertOptions options;
  options.inputName = file;
  options.memoryLimit = physicalMemory();
  Replay replay;
  ReplayNames names;
  const ExitCode read = loadReplayFile(options, outputs, replay, messages, &names);
  if (read != ExitCode::success) return read;
  ReplaySummary summary;
  summary.file = file;
  summary.car = decodeSimulatorText(names.car);
  if (!report.replays.empty() && summary.car != report.replays.front().car) {
    const ReplaySummary& first = report.replays.front();
    messages << program << ": " << file << " is a replay of " << summary.car << ", " << first.file << " of "
             << first.car << "; a report takes the replays of one car." << std::endl;
    return ExitCode::notAReplay;
  }
  summary.player = decodeSimulatorText(names.player);
  summary.track = decodeSimulatorText(names.track);
  summary.layout = decodeSimulatorText(names.layout);
  summary.samples = replay.sampleCount();
  summary.interval = replay.header.sampleInterval;
  // The four wheels of each stage at once, on the machine's cores.
  deriveWheelSeries(replay, [](const std::function<void(std::size_t)>& job) {
    parallelFor(raf::wheelCount, [&](int w) { job(static_cast<std::size_t>(w)); });
  });
  appendTyrePoints(replay, {report.samples, report.blocks}, report.points);
  report.samples += static_cast<std::uint32_t>(summary.samples);
  report.blocks += blockCount(summary.samples, static_cast<double>(summary.interval));
  if (withTrace) summary.trace = takeTrace(replay);
  report.replays.push_back(std::move(summary));
  return ExitCode::success;
}

// Fits every wheel and tells which fits had too few points.
void analyse(ReportData& report, std::ostream& messages) {
  analyseWheels(report);
  for (std::size_t w = 0; w < report.wheels.size(); ++w) {
    const TyreAnalysis& a = report.wheels[w];
    const auto tell = [&](bool fitted, const char* what) {
      if (!fitted) {
        messages << program << ": too few points for the " << wheelNames[w] << " " << what << " fit (fewer than "
                 << minFitPoints << ", or fewer than eight distinct slips); it is left out." << std::endl;
      }
    };
    tell(a.lateral.has_value(), "lateral");
    tell(a.longitudinal.has_value(), "longitudinal");
  }
}

// lap.raf gives lap.html; a name without an extension gets one.
std::string pageNameFor(const std::string& replay) {
  const std::size_t slash = replay.find_last_of("/\\");
  const std::size_t dot = replay.rfind('.');
  const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
  return (hasExtension ? replay.substr(0, dot) : replay) + ".html";
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

}  // namespace

int runReport(std::span<const char* const> args, std::ostream& out, std::ostream& messages) {
  Options o;
  if (const std::string problem = parse(args, o); !problem.empty()) return usageError(messages, problem);
  if (o.help) {
    out << helpText << std::flush;
    return 0;
  }
  if (o.version) {
    out << program << " " << SKIDLOG_VERSION << std::endl;
    return 0;
  }
  if (o.replays.empty()) return usageError(messages, "no replay given");
  // With neither output named, the page goes beside the first replay.
  if (!o.page && !o.json) o.page = pageNameFor(o.replays.front());
  if (o.page && o.json && *o.page == *o.json) return usageError(messages, "the page and the JSON need two files");

  std::vector<std::string> outputs;
  if (o.page) outputs.push_back(*o.page);
  if (o.json) outputs.push_back(*o.json);
  ReportData report;
  for (const std::string& file : o.replays) {
    if (const ExitCode code = addReplay(file, outputs, o.page.has_value(), report, messages);
        code != ExitCode::success) {
      return static_cast<int>(code);
    }
  }
  analyse(report, messages);
  if (o.json) {
    if (const ExitCode code = writeText(*o.json, jsonSummary(report), messages); code != ExitCode::success) {
      return static_cast<int>(code);
    }
  }
  if (o.page) return static_cast<int>(writeText(*o.page, htmlReport(report), messages));
  return 0;
}

}  // namespace skidlog
