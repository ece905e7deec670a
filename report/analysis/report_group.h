// A group of replays of one car, pooled: what each replay is, their points,
// and what the analysis finds for the group's wheels, axles and balance.
#ifndef SKIDLOG_REPORT_ANALYSIS_REPORT_GROUP_H_
#define SKIDLOG_REPORT_ANALYSIS_REPORT_GROUP_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "report/analysis/balance.h"
#include "report/analysis/platform/platform.h"
#include "report/analysis/platform/platform_samples.h"
#include "report/analysis/replay_summary.h"
#include "report/analysis/tyres/chart_points.h"
#include "report/analysis/tyres/tyre_analysis.h"
#include "report/analysis/tyres/tyre_points.h"

namespace skidlog {

inline constexpr std::size_t axleCount = 2;

// Replays of one car, pooled: their points and what they say.
struct ReportGroup {
  std::string label;
  std::vector<ReplaySummary> replays;
  TyrePoints points;          // pooled over the replays
  std::uint32_t blocks = 0;   // blocks of consecutive samples over the replays
  std::vector<std::uint32_t> replayBlocks;  // the blocks of each replay, in order
  bool lapsResampled = false;  // the intervals resample whole laps as well as blocks
  Resamples resamples;         // drawn once, for every estimate of the group
  std::uint32_t samples = 0;  // samples over the replays
  std::array<WheelPoints, axleCount> axlePoints;  // front: FL and FR sample by sample; rear: RL and RR
  // Which points are fitted. The report's pipeline gives them back, and the
  // wheels' points, once the group is analysed, keeping what the page's
  // charts draw of them.
  std::array<FitSubsets, raf::wheelCount> wheelSubsets;
  std::array<FitSubsets, axleCount> axleSubsets;
  std::array<TyreChartPoints, raf::wheelCount> wheelCharts;
  std::array<TyreChartPoints, axleCount> axleCharts;
  std::vector<float> pointLoads;  // N, every wheel point's, for the page's load classes over all groups
  bool fitted = false;            // analysed, and its points given back
  std::vector<float> lateralAcceleration;       // the car's, g, per sample of the group
  std::vector<float> longitudinalAcceleration;  // likewise
  std::array<TyreAnalysis, raf::wheelCount> wheels;
  std::array<TyreAnalysis, axleCount> axles;
  Balance balance;
  PlatformSamples platformSamples;  // block by block over the replays
  Platform platform;

  // Takes a replay: its points and the car's accelerations, numbered on from
  // the replays before, and `summary` with its sample count, interval and
  // first sample in the group's numbering. REQUIRES: the replay's wheel
  // series are derived.
  void add(const Replay& replay, ReplaySummary summary = {});
  // Gives back the room its series took to grow replay by replay, once the
  // last replay is added: a league's groups would otherwise carry up to half
  // again their points to the end. analyseGroup does it first.
  void shrinkToFit();
  // The sample intervals of its replays, s, ascending, each once.
  std::vector<float> sampleIntervals() const;
};

inline constexpr const char* wheelNames[raf::wheelCount] = {"FL", "FR", "RL", "RR"};
inline constexpr const char* axleNames[axleCount] = {"front", "rear"};

// Picks the fitted points of every wheel, makes the axle points, then
// analyses the wheels, the axles, the balance and the platform; the resampling draws from `seed`.
void analyseGroup(ReportGroup& group, std::uint64_t seed);

}  // namespace skidlog

#endif  // SKIDLOG_REPORT_ANALYSIS_REPORT_GROUP_H_
