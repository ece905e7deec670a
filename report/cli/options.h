// skidlog-report's command line, GNU style:
//   skidlog-report [OPTION]... REPLAY... [--vs REPLAY...]...
// `--vs` starts the next group to compare; `--label NAME` names the group it
// stands in; `--by car|track|player` groups the replays by that name instead.
#ifndef SKIDLOG_REPORT_CLI_OPTIONS_H_
#define SKIDLOG_REPORT_CLI_OPTIONS_H_

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace skidlog {

// The most groups a report compares.
inline constexpr std::size_t maxGroups = 4;

enum class GroupBy { commandLine, car, track, player };

struct GroupRequest {
  std::optional<std::string> label;
  std::vector<std::string> replays;
};

struct Options {
  std::optional<std::string> page;
  std::optional<std::string> json;
  std::vector<GroupRequest> groups;  // in command-line order; one unless --vs
  GroupBy by = GroupBy::commandLine;
  std::optional<std::string> reference;  // the replay the laps of its track are laid against
  bool help = false;
  bool version = false;
};

// Reads the options; returns what is wrong with them, empty when they are sound.
std::string parseOptions(std::span<const char* const> args, Options& o);

// What is wrong with the groups `o` asks for (none, an empty one, '--by'
// with '--vs' or '--label', more than maxGroups); empty when they are sound.
std::string checkGroups(const Options& o);

// Where the file name's extension (its last '.') begins in `path`; npos
// when the name has none (a name that begins with its only '.' has none).
std::size_t extensionAt(const std::string& path);

// A group's name when it has no label: its first replay's file name without
// folder and extension.
std::string defaultLabel(const std::string& replay);

// The name of `by`'s field, as the user types it.
const char* groupByName(GroupBy by);

}  // namespace skidlog

#endif  // SKIDLOG_REPORT_CLI_OPTIONS_H_
