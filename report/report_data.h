// Everything a report shows: the replays it was made from and what the
// analysis found for each wheel.
#ifndef SKIDLOG_REPORT_REPORT_DATA_H_
#define SKIDLOG_REPORT_REPORT_DATA_H_

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "report/tyre_analysis.h"
#include "report/tyre_points.h"

namespace skidlog {

struct ReplaySummary {
  std::string file;    // as given on the command line
  std::string player;  // UTF-8, as the simulator shows it
  std::string car;
  std::string track;
  std::string layout;
  std::size_t samples = 0;
  double interval = 0.0;  // s between samples
  ReplayTrace trace;  // empty when no page is written
};

struct ReportData {
  std::vector<ReplaySummary> replays;
  TyrePoints points;  // pooled over the replays
  std::array<WheelAnalysis, raf::wheelCount> wheels;
};

inline constexpr const char* wheelNames[raf::wheelCount] = {"FL", "FR", "RL", "RR"};

}  // namespace skidlog

#endif  // SKIDLOG_REPORT_REPORT_DATA_H_
