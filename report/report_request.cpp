#include "report/report_request.h"

#include <algorithm>

#include "system/system.h"

namespace skidlog {

std::string checkGroups(const ReportRequest& o) {
  std::size_t replays = 0;
  for (const GroupRequest& g : o.groups) replays += g.replays.size();
  if (replays == 0) return "no replay given";
  for (const GroupRequest& g : o.groups) {
    if (g.replays.empty()) return "'--vs' needs replays on both sides";
  }
  if (o.by != GroupBy::commandLine && (o.groups.size() > 1 || o.groups.front().label)) {
    return "'--by' groups the replays itself; it does not go with '--vs' or '--label'";
  }
  if (o.reference) {
    bool given = false;
    for (const GroupRequest& g : o.groups) given |= std::find(g.replays.begin(), g.replays.end(), *o.reference) != g.replays.end();
    if (!given) return "'--reference' names " + *o.reference + ", which is not among the replays";
  }
  return {};
}

std::size_t extensionAt(const std::string& path) {
  const std::size_t nameStart = path.size() - fileNameOf(path).size();
  const std::size_t dot = path.rfind('.');
  return dot != std::string::npos && dot > nameStart ? dot : std::string::npos;
}

std::string defaultLabel(const std::string& replay) {
  const std::string_view name = fileNameOf(replay);
  const std::size_t dot = name.rfind('.');
  return std::string(dot == std::string_view::npos || dot == 0 ? name : name.substr(0, dot));
}

std::optional<GroupBy> groupByNamed(std::string_view name) {
  if (name == "car") return GroupBy::car;
  if (name == "track") return GroupBy::track;
  if (name == "player") return GroupBy::player;
  if (name == "setup") return GroupBy::setup;
  return std::nullopt;
}

const char* groupByName(GroupBy by) {
  switch (by) {
    case GroupBy::car: return "car";
    case GroupBy::track: return "track";
    case GroupBy::player: return "player";
    case GroupBy::setup: return "setup";
    case GroupBy::commandLine: break;
  }
  return "";
}

}  // namespace skidlog
