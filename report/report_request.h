// What a report is asked to read: groups of replays (given one by one, or
// gathered by a name the replays share: car, track or player; or by setup), and the lap
// the laps of its track are laid against.
#ifndef SKIDLOG_REPORT_REPORT_REQUEST_H_
#define SKIDLOG_REPORT_REPORT_REQUEST_H_

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "report/quantity/speed_unit.h"

namespace skidlog {

enum class GroupBy { commandLine, car, track, player, setup };

struct GroupRequest {
  std::optional<std::string> label;
  std::vector<std::string> replays;
};

struct ReportRequest {
  std::vector<GroupRequest> groups;  // in the order given; one unless groups are compared
  GroupBy by = GroupBy::commandLine;
  std::optional<std::string> reference;  // the replay the laps of its track are laid against
  SpeedUnit speedUnit = SpeedUnit::metresPerSecond;
};

// What is wrong with the groups `r` asks for (none, an empty one, grouping by
// name with groups or labels given); empty when sound.
std::string checkGroups(const ReportRequest& r);

// The grouping a field's name asks for ("car", "track", "player", "setup"); empty
// for any other name.
std::optional<GroupBy> groupByNamed(std::string_view name);

// The name of `by`'s field, as the user types it.
const char* groupByName(GroupBy by);

// Where the file name's extension (its last '.') begins in `path`; npos
// when the name has none (a name that begins with its only '.' has none).
std::size_t extensionAt(const std::string& path);

// A group's name when it has no label: its first replay's file name without
// folder and extension.
std::string defaultLabel(const std::string& replay);

}  // namespace skidlog

#endif  // SKIDLOG_REPORT_REPORT_REQUEST_H_
