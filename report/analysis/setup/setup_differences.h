// What differs between the groups' car setups, item by item: the report
// names setup differences rather than laying them at the driver's or the
// tyres' door.
#ifndef SKIDLOG_REPORT_ANALYSIS_SETUP_SETUP_DIFFERENCES_H_
#define SKIDLOG_REPORT_ANALYSIS_SETUP_SETUP_DIFFERENCES_H_

#include <cstddef>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "raf/replay_setup.h"
#include "report/analysis/compare/differences.h"

namespace skidlog {

struct ReportGroup;

// One item of a setup as recorded: a float (a spring rate, the final drive),
// a whole number (the player flags), a name (the tyre type) or a list (the
// gear ratios).
using SetupValue = std::variant<float, int, std::string, std::vector<float>>;

struct SetupDifference {
  std::size_t from = 0;  // the group compared with (the first)
  std::size_t to = 0;
  std::string where;     // a wheel (FL ... RR), an axle (front, rear) where left and right agree, or "car"
  std::string quantity;  // tyre, tyre_width_m, travel_m, spring_n_per_m, bump_ns_per_m, rebound_ns_per_m,
                         // brake_torque_nm, anti_roll_front, anti_roll_rear, final_drive, gear_ratios, player_flags
  SetupValue fromValue;
  SetupValue toValue;
};

// Every later group's setup (its first replay's) against the first group's:
// one entry per item that differs: the tyres, the final drive, the gear
// ratios, the anti-roll bars, the other wheel items in the order above (front
// before rear), the player flags.
std::vector<SetupDifference> compareSetups(std::span<const ReportGroup> groups);

// Two recorded items alike, bit for bit: a value not recorded (NaN) equals
// itself.
bool sameValue(const SetupValue& a, const SetupValue& b);

// The setup differences of a comparison between `from` and `to` setups.
std::vector<SetupDifference> setupDifferences(const ReplaySetup& from, const ReplaySetup& to);

// A group whose replays hold more than one car setup, and how many.
struct SetupMix {
  std::size_t group = 0;
  std::size_t setups = 0;
};

// Each group whose replays hold more than one setup.
std::vector<SetupMix> setupMixes(std::span<const ReportGroup> groups);

// The tyre types of an axle (0 front, 1 rear): "hybrid", or "FL hybrid, FR
// road normal" where its wheels differ.
std::string axleTyres(const ReplaySetup& setup, std::size_t axle);

// Notes each tyre and balance difference between groups whose tyre types
// differ where it is measured (on its wheel's axle, or on either axle for the
// balance): "tyre types differ: road normal against hybrid".
void noteTyreTypes(std::span<const ReportGroup> groups, std::vector<Difference>& differences);

}  // namespace skidlog

#endif  // SKIDLOG_REPORT_ANALYSIS_SETUP_SETUP_DIFFERENCES_H_
