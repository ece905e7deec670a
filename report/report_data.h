// Everything a report shows: its groups of replays (one, or two to four to
// compare), what the analysis found for each group's wheels and axles, the
// laps read by place on each track, and the differences between the groups.
#ifndef SKIDLOG_REPORT_REPORT_DATA_H_
#define SKIDLOG_REPORT_REPORT_DATA_H_

#include <string>
#include <vector>

#include "report/analysis/compare/differences.h"
#include "report/analysis/setup/setup_differences.h"
#include "report/analysis/report_group.h"
#include "report/laps/findings.h"
#include "report/laps/lap_analysis.h"
#include "report/laps/lap_claims.h"
#include "report/quantity/speed_unit.h"

namespace skidlog {

// The most groups a report compares pairwise, each later group against the
// first; more are read as a session, every group ranked against the field.
inline constexpr std::size_t maxPairwiseGroups = 4;

struct ReportData {
  std::vector<ReportGroup> groups;        // the first is the one the others are compared with
  std::vector<Difference> differences;    // empty with one group
  std::vector<Claims> claims;             // per comparison: its lap and corner differences' claims
  std::vector<SetupDifference> setupDifferences;  // each later group's setup against the first's
  std::vector<SetupMix> setupMixes;               // groups whose replays hold several setups
  std::vector<TrackAnalysis> tracks;      // the laps by place, one per track holding a complete lap
  std::vector<Finding> findings;          // where the time goes and what differs, per comparison
  SpeedUnit speedUnit = SpeedUnit::metresPerSecond;  // the page's and the findings' speeds
  std::vector<double> loadEdges;          // N: the page's load classes over every group's points

  // More than one group.
  bool grouped() const { return groups.size() > 1; }
  // The groups' labels, in order: how the output names a group by its index.
  std::vector<std::string> labels() const {
    std::vector<std::string> out;
    for (const ReportGroup& g : groups) out.push_back(g.label);
    return out;
  }
  // Two to maxPairwiseGroups groups: each later one compared with the first.
  bool comparison() const { return grouped() && groups.size() <= maxPairwiseGroups; }
  // More: the groups are read as a session only.
  bool session() const { return groups.size() > maxPairwiseGroups; }
};

}  // namespace skidlog

#endif  // SKIDLOG_REPORT_REPORT_DATA_H_
