// Why a corner is slower, as evidence and never as blame: for each corner
// finding whose time difference is claimed, the measured differences an
// engineer reads beside it (where in the corner the time goes, the speed,
// the balance and the platform in the phases that lose) and the setup
// differences that act on those phases by textbook rules, each with whether
// the corner's balance moved the way its rule predicts.
#ifndef SKIDLOG_REPORT_LAPS_WHY_CORNER_WHY_H_
#define SKIDLOG_REPORT_LAPS_WHY_CORNER_WHY_H_

#include <optional>
#include <string>
#include <vector>

#include "report/analysis/compare/differences.h"
#include "report/analysis/setup/setup_differences.h"

namespace skidlog {

struct Finding;

// One link of a why: a difference between the finding's groups.
struct WhyLink {
  std::string link;      // setup, platform, balance, speed or time
  std::string where;     // the corner; for a setup difference its wheel, axle or "car"
  std::string phase;     // entry, middle or exit; empty for a setup difference acting on every phase
  std::string wheel;     // FL ... RR for a wheel's platform number; else empty
  std::string quantity;  // named as among the differences or the setup differences
  Estimate delta;        // to - from; a setup difference's without an interval, unknown for a name
  bool hasInterval = false;
  std::string verdict;   // a difference's verdict; "as recorded" for a setup difference
  std::optional<bool> agrees;  // the balance moved as the rule predicts; unknown where not claimed or no rule
  std::string rule;      // the rule that ties it to the phase, in words; empty for measured links
  std::string recorded;  // a setup link's recorded change in words ("front anti-roll bar 22000 to 67000")
};

inline constexpr const char* asRecorded = "as recorded";

// The links of one corner finding, and whether its groups' drivers differ.
struct CornerWhy {
  std::vector<WhyLink> links;
  bool driversDiffer = false;
};

// What a why reads: the report's differences and setup differences, the
// groups' labels and each group's players.
struct WhyEvidence {
  const std::vector<Difference>& differences;
  const std::vector<SetupDifference>& setups;
  const std::vector<std::string>& labels;
  const std::vector<std::vector<std::string>>& players;
};

// The why of `corner` (its `where` among the differences) between groups
// `from` and `to`, whose segment time differs by `timeLost`.
CornerWhy explainCorner(const WhyEvidence& evidence, std::size_t from, std::size_t to, const std::string& corner,
                        const Difference& timeLost);

// Gives each corner finding of `findings` whose time difference is claimed
// its why. Findings between laps of one group (labels not among the
// groups') have none.
void explainFindings(std::vector<Finding>& findings, const WhyEvidence& evidence);

}  // namespace skidlog

#endif  // SKIDLOG_REPORT_LAPS_WHY_CORNER_WHY_H_
