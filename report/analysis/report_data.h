// Everything a report shows: the replays it was made from and what the
// analysis found for each wheel.
#ifndef SKIDLOG_REPORT_ANALYSIS_REPORT_DATA_H_
#define SKIDLOG_REPORT_ANALYSIS_REPORT_DATA_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "report/analysis/tyre_analysis.h"
#include "report/analysis/tyre_points.h"

namespace skidlog {

struct ReplaySummary {
  std::string file;    // as given on the command line
  std::string player;  // UTF-8, as the simulator shows it
  std::string car;
  std::string track;
  std::string layout;
  std::size_t samples = 0;
  float interval = 0.0f;  // s between samples, as the replay gives it
  ReplayTrace trace;  // empty when no page is written
};

struct ReportData {
  std::vector<ReplaySummary> replays;
  TyrePoints points;       // pooled over the replays
  std::uint32_t blocks = 0;  // blocks of consecutive samples over the replays
  std::uint32_t samples = 0;  // samples over the replays
  std::array<TyreAnalysis, raf::wheelCount> wheels;
};

inline constexpr const char* wheelNames[raf::wheelCount] = {"FL", "FR", "RL", "RR"};

// Analyses every wheel of the report's points, with the report's seed.
void analyseWheels(ReportData& report);

}  // namespace skidlog

#endif  // SKIDLOG_REPORT_ANALYSIS_REPORT_DATA_H_
