#include "report/cli/options.h"

#include <algorithm>
#include <string_view>

namespace skidlog {
namespace {

// The value of option `name` at args[i]: after '=' in the same argument, or
// the next argument. Empty optional when it is missing.
std::optional<std::string> valueOf(std::span<const char* const> args, std::size_t& i, std::string_view name) {
  const std::string_view a = args[i];
  if (a.size() > name.size() && a[name.size()] == '=') return std::string(a.substr(name.size() + 1));
  if (i + 1 < args.size()) return std::string(args[++i]);
  return std::nullopt;
}

bool isOption(std::string_view a, std::string_view name) {
  return a == name || (a.size() > name.size() && a.substr(0, name.size()) == name && a[name.size()] == '=');
}

}  // namespace

std::string parseOptions(std::span<const char* const> args, Options& o) {
  o.groups.assign(1, GroupRequest{});
  bool optionsEnd = false;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string_view a = args[i];
    const auto take = [&](std::string_view name, std::optional<std::string>& into) -> std::string {
      into = valueOf(args, i, name);
      return into ? std::string() : "option '" + std::string(name) + "' requires a value";
    };
    // An option whose value is one of a few names, `parse` reading it.
    const auto takeNamed = [&](std::string_view name, auto parse, const char* names, auto& into) -> std::string {
      std::optional<std::string> value;
      if (std::string problem = take(name, value); !problem.empty()) return problem;
      const auto parsed = parse(*value);
      if (!parsed) {
        std::string problem = "'";
        problem.append(name).append("' takes ").append(names).append(", not '").append(*value).append("'");
        return problem;
      }
      into = *parsed;
      return {};
    };
    std::string problem;
    if (optionsEnd || a == "-" || a.empty() || a[0] != '-') {
      o.groups.back().replays.emplace_back(a);
    } else if (a == "--") {
      optionsEnd = true;
    } else if (a == "-h" || a == "--help") {
      o.help = true;
    } else if (a == "--version") {
      o.version = true;
    } else if (a == "--vs") {
      o.groups.emplace_back();
    } else if (a == "-o") {
      problem = take("-o", o.page);
    } else if (a.starts_with("-o")) {
      o.page = std::string(a.substr(2));
    } else if (isOption(a, "--output")) {
      problem = take("--output", o.page);
    } else if (isOption(a, "--json")) {
      problem = take("--json", o.json);
    } else if (isOption(a, "--label")) {
      if (o.groups.back().label) return "a group has one '--label'";
      problem = take("--label", o.groups.back().label);
    } else if (isOption(a, "--reference")) {
      problem = take("--reference", o.reference);
    } else if (isOption(a, "--speed-unit")) {
      problem = takeNamed("--speed-unit", speedUnitNamed, "m/s, km/h or mph", o.speedUnit);
    } else if (isOption(a, "--by")) {
      problem = takeNamed("--by", groupByNamed, "car, track, player or setup", o.by);
    } else {
      problem = "unrecognised option '" + std::string(a) + "'";
    }
    if (!problem.empty()) return problem;
  }
  if (o.help || o.version) return {};
  return checkGroups(o);
}

}  // namespace skidlog
