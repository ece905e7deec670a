// libFuzzer target: the whole conversion, in both layouts, on arbitrary bytes.
// Besides the sanitizers it checks what every run must keep: a known exit
// code, and CSV lines that all end with a line feed and hold 23 or 61 fields.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <span>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "report/fit/random.h"
#include "report/laps/findings.h"
#include "report/laps/lap_analysis.h"
#include "report/report_build.h"
#include "skidlog/simulator_text.h"
#include "skidlog/skidlog.h"

namespace {

// Checks each line as it comes and keeps nothing.
class CheckingSink : public skidlog::LineSink {
 public:
  explicit CheckingSink(std::size_t fields) : fields_(fields) {}
  bool writeLine(std::string_view line) override {
    if (line.empty() || line.back() != '\n') std::abort();
    std::size_t separators = 0;
    for (std::size_t at = line.find(", "); at != std::string_view::npos; at = line.find(", ", at + 2)) ++separators;
    if (separators + 1 != fields_) std::abort();
    return true;
  }

 private:
  std::size_t fields_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::byte> file(reinterpret_cast<const std::byte*>(data), size);
  for (const bool sideBySide : {false, true}) {
    skidlog::ConvertOptions options;
    options.sideBySide = sideBySide;
    options.inputName = "fuzz.raf";
    options.outputName = "fuzz.csv";
    // Small enough that a huge sample count is refused quickly, large enough
    // for a few thousand samples.
    options.memoryLimit = 4u << 20;
    CheckingSink sink(sideBySide ? 61 : 23);
    std::ostringstream messages;
    const skidlog::ExitCode code = skidlog::convertReplay(file, options, sink, messages);
    if (code != skidlog::ExitCode::success && code != skidlog::ExitCode::notAReplay) std::abort();
  }
  // The report's path: names, points, fits with their intervals, and friction circle of every wheel.
  const skidlog::ReplayNames names = skidlog::readReplayNames(file);
  for (const std::string* text : {&names.player, &names.car, &names.track, &names.layout}) {
    skidlog::decodeSimulatorText(*text);
  }
  skidlog::Replay replay;
  if (skidlog::loadReplay(file, 4u << 20, replay).status != skidlog::LoadStatus::loaded) return 0;
  skidlog::deriveWheelSeries(replay);
  skidlog::ReportGroup report;
  // With its lap (split times, path) and traces, as the report adds a replay.
  skidlog::addLoadedReplay(report, skidlog::replaySummary("fuzz.raf", names), names.splitsMs, replay, true);
  skidlog::analyseGroup(report, skidlog::reportSeed);
  std::vector<std::string> lapMessages;
  // The laps by place, the driver's actions and the findings of each lap
  // against the reference.
  const std::vector<skidlog::TrackAnalysis> tracks =
      skidlog::analyseTracks(std::span<const skidlog::ReportGroup>(&report, 1), std::nullopt, lapMessages);
  skidlog::findTimeLoss(tracks, {}, {report.label});
  return 0;
}
