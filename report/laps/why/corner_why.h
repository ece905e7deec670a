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

// The textbook rule that ties a link to a phase and predicts which way the
// understeer moves; the output names it in words.
enum class WhyRule {
  none,
  frontShare,     // a larger front share of the load transfer: more understeer in the middle
  wheelOnStop,    // a wheel on its stop: toward understeer at the front, oversteer at the rear
  rollStiffness,  // bars and springs set each axle's share of the load transfer
  travel,         // a shorter travel puts the wheels on their stops
  dampers,        // dampers act while the body moves
  brakeSplit,     // the brake torque split acts on entry
  gearing,        // gearing acts on exit
  tyreType,       // a tyre type changes every phase
  tyreWidth,      // a tyre's width changes every phase
};

inline constexpr const char* asRecorded = "as recorded";

// One link of a why: a difference between the finding's groups, held as
// the comparison's own difference (measured) or setup difference, never a
// copy. The differences it points into outlive it: both are the report's.
struct WhyLink {
  std::string link;   // setup, platform, balance, speed or time
  std::string phase;  // entry, middle or exit; empty for a setup difference acting on every phase
  const Difference* measured = nullptr;    // a measured link's difference
  const SetupDifference* setup = nullptr;  // a setup link's
  std::optional<bool> agrees;  // the balance moved as the rule predicts; unknown where not claimed or no rule
  WhyRule rule = WhyRule::none;

  // The corner; for a setup difference its wheel, axle or "car".
  const std::string& where() const { return measured != nullptr ? measured->where : setup->where; }
  // Named as among the differences or the setup differences.
  const std::string& quantity() const { return measured != nullptr ? measured->quantity : setup->quantity; }
  // FL ... RR for a wheel's platform number; else empty.
  const std::string& wheel() const;
  // to - from; a setup difference's without an interval, unknown for a name.
  Estimate delta() const;
  bool hasInterval() const { return measured != nullptr && measured->hasInterval; }
  // A difference's verdict; asRecorded for a setup difference.
  std::string verdict() const { return measured != nullptr ? measured->verdict : asRecorded; }
};

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
