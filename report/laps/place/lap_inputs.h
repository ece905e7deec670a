// The laps of a report as the lap analysis takes them: each lap's group,
// replay, recorded times and sample interval, and its samples placed along a
// reference path with its clock.
#ifndef SKIDLOG_REPORT_LAPS_PLACE_LAP_INPUTS_H_
#define SKIDLOG_REPORT_LAPS_PLACE_LAP_INPUTS_H_

#include <cstddef>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "report/analysis/report_group.h"
#include "report/laps/place/lap_path.h"

namespace skidlog {

// One lap as the analysis needs it: where it came from, its recorded times,
// and its samples placed along the reference path.
struct LapInput {
  std::size_t group = 0;
  std::size_t replay = 0;
  const ReplaySummary* summary = nullptr;
  bool complete = false;
  double lapTime = std::numeric_limits<double>::quiet_NaN();  // s, NaN when partial
  double interval = 0.0;
};

// A lap placed along the path: each sample's distance and its clock.
struct PlacedLap {
  std::vector<double> distance;
  LapClock clock;
};

// The sample nearest the time the lap reached `at`; npos where it did not.
std::size_t sampleAt(const PlacedLap& lap, double at, double interval, std::size_t samples);

// The laps of every group, in group order; those without split times named
// in `messages`.
std::vector<LapInput> lapInputs(std::span<const ReportGroup> groups, std::vector<std::string>& messages);

// The lap's samples placed along `path`, and its clock.
PlacedLap place(const LapPath& path, const LapInput& in);

// `lap` moved to pass the reference's split places, `splitAt`, at its own
// recorded split times (pinToSplits); its clock follows. Returns each split's
// shift, m.
std::vector<double> pinToSplits(PlacedLap& lap, const LapPath& path, const LapInput& in,
                                std::span<const double> splitAt);

// The track's reference among `laps`: the named file when it is one of them
// and complete, else the fastest complete lap; npos where none is complete.
std::size_t referenceOf(const std::vector<LapInput>& laps, const std::optional<std::string>& named);

}  // namespace skidlog

#endif  // SKIDLOG_REPORT_LAPS_PLACE_LAP_INPUTS_H_
