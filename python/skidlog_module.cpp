// skidlog._skidlog: the library's own functions for Python. It converts types
// and errors and nothing else: the rows are the CSV writer's rows, the report
// is skidlog-report's JSON, the header
// fields the library's reading of them.
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <array>
#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "csv/csv_rows.h"
#include "numeric/precision.h"
#include "report/output/json/json_setup.h"
#include "report/report_build.h"
#include "report/report_request.h"
#include "skidlog/replay_info.h"
#include "skidlog/skidlog.h"

namespace py = pybind11;

namespace skidlog {
namespace {

// What a call hands back besides its data: the exit code the command line
// would give and the lines it would print.
struct Outcome {
  int code = 0;
  std::string messages;
};

ConvertOptions readOptions(const std::string& path, bool sideBySide) {
  ConvertOptions options;
  options.inputName = path;
  options.sideBySide = sideBySide;
  options.memoryLimit = physicalMemory();
  options.eachWheel = eachWheelOnCores;
  options.withoutSignature = ConvertOptions::Unsigned::warn;
  return options;
}

// Loads the replay and derives its wheel series.
Outcome loadDerived(const std::string& path, bool sideBySide, Replay& replay) {
  std::ostringstream messages;
  const ExitCode code = loadReplayFile(readOptions(path, sideBySide), {}, replay, messages);
  if (code == ExitCode::success) {
    deriveWheelSeries(replay, eachWheelOnCores);
  }
  return {static_cast<int>(code), messages.str()};
}

// Per wheel, each wheel's rows on their own, on the machine's cores: wheel w's
// rows follow those of the wheels before it.
void fillWheelByWheel(const Replay& replay, const std::vector<ColumnTarget>& columns) {
  std::array<std::size_t, raf::wheelCount> first{};
  for (std::size_t w = 0; w + 1 < first.size(); ++w) {
    CsvRows wheel(false, replay.sampleCount(), replay.sampleTimes, replay.car, replay.wheels, replay.geometry);
    wheel.onlyWheel(w);
    first[w + 1] = first[w] + wheel.count();
  }
  eachWheelOnCores([&](std::size_t w) {
    CsvRows wheel(false, replay.sampleCount(), replay.sampleTimes, replay.car, replay.wheels, replay.geometry);
    wheel.onlyWheel(w);
    wheel.fillColumns(columns, first[w]);
  });
}

template <class T>
py::array newColumn(std::size_t n, std::vector<ColumnTarget>& targets, ColumnType type) {
  py::array_t<T> column(static_cast<py::ssize_t>(n));
  targets.push_back({type, column.mutable_data()});
  return column;
}

// The replay is read and its rows are written into the arrays with the
// interpreter released; only the arrays are made with it held. NumPy owns
// them, and pandas takes them as they are.
py::tuple read(const std::string& path, bool sideBySide) {
  Replay replay;
  Outcome outcome;
  {
    py::gil_scoped_release released;
    outcome = loadDerived(path, sideBySide, replay);
  }
  py::list names, arrays;
  if (outcome.code != 0) return py::make_tuple(outcome.code, outcome.messages, names, arrays);
  CsvRows rows(sideBySide, replay.sampleCount(), replay.sampleTimes, replay.car, replay.wheels, replay.geometry);
  const std::size_t n = rows.count();
  std::vector<ColumnTarget> targets;
  for (const Column& c : rows.columns()) {
    names.append(c.name);
    switch (c.type) {
      case ColumnType::float32: arrays.append(newColumn<float>(n, targets, c.type)); break;
      case ColumnType::float64: arrays.append(newColumn<double>(n, targets, c.type)); break;
      case ColumnType::wheelNumber: arrays.append(newColumn<std::int64_t>(n, targets, c.type)); break;
    }
  }
  {
    py::gil_scoped_release released;
    if (sideBySide) {
      rows.fillColumns(targets, 0);
    } else {
      fillWheelByWheel(replay, targets);
    }
    replay = Replay();
  }
  return py::make_tuple(outcome.code, outcome.messages, names, arrays);
}

// The shortest decimal that reads back as the float: 0.01 s, not the float's
// exact 0.009999999776482582.
double shortestDecimal(float value) {
  char text[32];
  const auto end = std::to_chars(text, text + sizeof(text), value).ptr;
  return std::strtod(std::string(text, end).c_str(), nullptr);
}

py::object optionalNumber(std::optional<double> value) {
  return value ? py::object(py::float_(*value)) : py::object(py::none());
}

py::tuple readHeaderFields(const std::string& path) {
  ReplayInfo info;
  std::ostringstream messages;
  ExitCode code;
  {
    py::gil_scoped_release released;
    code = readReplayInfo(path, info, messages);
  }
  py::dict fields;
  if (code == ExitCode::success) {
    fields["player"] = info.player;
    fields["car"] = info.car;
    fields["track"] = info.track;
    fields["layout"] = info.layout;
    fields["interval_s"] = shortestDecimal(info.sampleInterval);
    fields["samples"] = info.samples;
    fields["declared_samples"] = info.declaredSamples;
    const std::vector<std::int32_t>& splits = info.splitsMs;
    py::list before;
    for (std::size_t k = 0; k + 1 < splits.size(); ++k) before.append(splits[k] / 1000.0);
    fields["lap_time_s"] = optionalNumber(splits.empty() ? std::nullopt : std::optional(splits.back() / 1000.0));
    fields["splits_s"] = splits.empty() ? py::object(py::none()) : py::object(before);
    // The report's own JSON of the setup, so the two cannot disagree.
    fields["setup"] = py::module_::import("json").attr("loads")(setupJsonText(info.setup));
  }
  return py::make_tuple(static_cast<int>(code), messages.str(), fields);
}

py::tuple report(const std::vector<std::vector<std::string>>& groups,
                 const std::vector<std::optional<std::string>>& labels, const std::optional<std::string>& by,
                 const std::optional<std::string>& reference) {
  ReportRequest o;
  o.reference = reference;
  for (std::size_t g = 0; g < groups.size(); ++g) {
    GroupRequest& request = o.groups.emplace_back();
    request.replays = groups[g];
    if (g < labels.size()) request.label = labels[g];
  }
  if (by) {
    const std::optional<GroupBy> named = groupByNamed(*by);
    if (!named) throw py::value_error("by takes 'car', 'track', 'player' or 'setup', not '" + *by + "'");
    o.by = *named;
  }
  std::string json;
  std::ostringstream messages;
  ExitCode code;
  {
    py::gil_scoped_release released;
    code = reportJson(o, json, messages);
  }
  return py::make_tuple(static_cast<int>(code), messages.str(), json);
}

}  // namespace
}  // namespace skidlog

PYBIND11_MODULE(_skidlog, m) {
  m.doc() = "The skidlog library's own reading of replays and its report; see the skidlog package.";
  m.attr("__version__") = SKIDLOG_VERSION;
  m.def("read", &skidlog::read, py::arg("path"), py::arg("side_by_side"),
        "(exit code, messages, column names, column arrays) of the replay's CSV rows.");
  m.def("read_header", &skidlog::readHeaderFields, py::arg("path"),
        "(exit code, messages, header fields) of the replay.");
  m.def("report", &skidlog::report, py::arg("groups"), py::arg("labels"), py::arg("by"), py::arg("reference"),
        "(exit code, messages, JSON text) of skidlog-report --json for the groups.");
}
