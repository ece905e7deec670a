#include "report/report_build.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "raf/raf_format.h"
#include "raf/replay_names.h"
#include "report/analysis/setup/setup_differences.h"
#include "report/fit/random.h"
#include "report/laps/lap_analysis.h"
#include "report/laps/why/corner_why.h"
#include "report/output/json/json_summary.h"
#include "report/output/words/setup_words.h"
#include "skidlog/simulator_text.h"
#include "system/system.h"

namespace skidlog {
namespace {

// The name a replay is grouped by: its car's, track's or player's.
std::string groupName(GroupBy by, const ReplaySummary& r) {
  const std::string& field = by == GroupBy::car ? r.car : by == GroupBy::track ? r.track : r.player;
  return field.empty() ? "(no name)" : field;
}

// The group a replay joins: the one it was given in, or the one found (or
// opened) by its name.
ReportGroup& groupFor(ReportData& report, GroupBy by, std::size_t requested, const ReplaySummary& r) {
  if (by == GroupBy::commandLine) return report.groups[requested];
  if (by == GroupBy::setup) {
    for (ReportGroup& g : report.groups) {
      if (!g.replays.empty() && g.replays.front().setup.sameAs(r.setup)) return g;
    }
    return report.groups.emplace_back();
  }
  const std::string key = groupName(by, r);
  for (ReportGroup& g : report.groups) {
    if (g.label == key) return g;
  }
  report.groups.emplace_back().label = key;
  return report.groups.back();
}

// Reads, loads and derives one replay into its group.
ExitCode addReplay(const std::string& file, std::span<const std::string> outputs, bool withTrace,
                   const ReportRequest& request, std::size_t requested, ReportData& report,
                   std::ostream& messages, std::size_t& joined) {
  ConvertOptions options;
  options.inputName = file;
  options.memoryLimit = physicalMemory();
  options.eachWheel = eachWheelOnCores;
  options.withoutSignature = ConvertOptions::Unsigned::refuse;
  Replay replay;
  ReplayNames names;
  const ExitCode read = loadReplayFile(options, outputs, replay, messages, &names);
  if (read != ExitCode::success) return read;
  ReplaySummary summary = replaySummary(file, names);
  ReportGroup& group = groupFor(report, request.by, requested, summary);
  joined = static_cast<std::size_t>(&group - report.groups.data());
  if (!group.replays.empty() && summary.car != group.replays.front().car) {
    const ReplaySummary& first = group.replays.front();
    messages << file << " is a replay of " << summary.car << ", " << first.file << " of " << first.car
             << "; the replays of a group must be of one car (compare cars with --vs or --by car)." << std::endl;
    return ExitCode::notAReplay;
  }
  // The four wheels of each stage at once, on the machine's cores.
  deriveWheelSeries(replay, eachWheelOnCores);
  addLoadedReplay(group, std::move(summary), names.splitsMs, replay, withTrace);
  return ExitCode::success;
}

// A group of one setup by what sets its setup apart from the others', or by
// its first replay's name.
std::string setupLabel(const ReportData& report, std::size_t g) {
  std::vector<ReplaySetup> others;
  for (std::size_t k = 0; k < report.groups.size(); ++k) {
    if (k != g) others.push_back(report.groups[k].replays.front().setup);
  }
  const ReplaySummary& first = report.groups[g].replays.front();
  const std::string apart = report.groups.size() > 1 ? setupApart(first.setup, others) : "";
  return apart.empty() ? defaultLabel(first.file) : apart;
}

// Labels from the request or the first replay's name; a second "lap" becomes "lap (2)".
void labelGroups(ReportData& report, const ReportRequest& request) {
  std::vector<std::string> taken;
  for (std::size_t g = 0; g < report.groups.size(); ++g) {
    ReportGroup& group = report.groups[g];
    if (request.by == GroupBy::commandLine) {
      const GroupRequest& asked = request.groups[g];
      group.label = asked.label ? *asked.label : defaultLabel(asked.replays.front());
    } else if (request.by == GroupBy::setup) {
      group.label = setupLabel(report, g);
    }
    const std::string wanted = group.label;
    for (int copy = 2; std::find(taken.begin(), taken.end(), group.label) != taken.end(); ++copy) {
      group.label = wanted + " (" + std::to_string(copy) + ")";
    }
    taken.push_back(group.label);
  }
}

// Whether `a` sorts before `b` as a reader counts: runs of digits by their
// number, so "Driver 2" comes before "Driver 10"; the rest byte by byte.
bool naturalLess(const std::string& a, const std::string& b) {
  const auto digit = [](char c) { return c >= '0' && c <= '9'; };
  std::size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    if (digit(a[i]) && digit(b[j])) {
      std::size_t x = i, y = j;
      while (x < a.size() && digit(a[x])) ++x;
      while (y < b.size() && digit(b[y])) ++y;
      // Leading zeros aside, the longer run is the larger number.
      std::size_t p = i, q = j;
      while (p + 1 < x && a[p] == '0') ++p;
      while (q + 1 < y && b[q] == '0') ++q;
      if (x - p != y - q) return x - p < y - q;
      const int order = a.compare(p, x - p, b, q, y - q);
      if (order != 0) return order < 0;
      i = x;
      j = y;
    } else {
      if (a[i] != b[j]) return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[j]);
      ++i;
      ++j;
    }
  }
  return a.size() - i < b.size() - j;
}

// Which group each replay joins, read from the replays' headers before their
// samples, so that the replays are read group by group and each group is
// fitted as soon as its last replay is in: a league's laps are never all held
// at once. Unknown where a header cannot be read: loading that replay tells
// why.
struct GroupPlan {
  bool known = false;
  std::vector<std::size_t> replayGroup;  // per replay as given: its group, as the report orders them
  std::vector<std::size_t> replays;      // per group: how many replays it takes
};

// The group of a replay with `info` among those opened so far (`keys` or
// `setups`, by `by`), opening it when it is new, as groupFor opens them.
std::size_t plannedGroup(GroupBy by, const ReplaySummary& info, std::vector<std::string>& keys,
                         std::vector<ReplaySetup>& setups) {
  if (by == GroupBy::setup) {
    std::size_t k = 0;
    while (k < setups.size() && !setups[k].sameAs(info.setup)) ++k;
    if (k == setups.size()) setups.push_back(info.setup);
    return k;
  }
  const std::string key = groupName(by, info);
  const std::size_t k = static_cast<std::size_t>(std::find(keys.begin(), keys.end(), key) - keys.begin());
  if (k == keys.size()) keys.push_back(key);
  return k;
}

GroupPlan planGroups(const ReportRequest& request) {
  GroupPlan plan;
  if (request.by == GroupBy::commandLine) {
    for (std::size_t g = 0; g < request.groups.size(); ++g) {
      plan.replays.push_back(request.groups[g].replays.size());
      plan.replayGroup.insert(plan.replayGroup.end(), request.groups[g].replays.size(), g);
    }
    plan.known = true;
    return plan;
  }
  std::vector<std::string> keys;
  std::vector<ReplaySetup> setups;
  std::vector<std::size_t> opened;  // per replay: its group in order of opening
  for (const GroupRequest& g : request.groups) {
    for (const std::string& file : g.replays) {
      // The names and the setup lie in the header's first kilobyte.
      InputFile header;
      if (readInputFile(file, header, raf::headerReadBytes) != ReadStatus::read ||
          header.size < raf::minimumFileSize) {
        return {};
      }
      opened.push_back(plannedGroup(request.by, replaySummary(file, readReplayNames(header.view())), keys, setups));
    }
  }
  // Ordered as the report orders them: by name, or as opened.
  const std::size_t groups = request.by == GroupBy::setup ? setups.size() : keys.size();
  std::vector<std::size_t> order;
  for (std::size_t k = 0; k < groups; ++k) order.push_back(k);
  if (request.by != GroupBy::setup) {
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return naturalLess(keys[a], keys[b]); });
  }
  std::vector<std::size_t> rank = order;
  for (std::size_t i = 0; i < order.size(); ++i) rank[order[i]] = i;
  plan.replays.assign(groups, 0);
  for (const std::size_t k : opened) {
    plan.replayGroup.push_back(rank[k]);
    ++plan.replays[rank[k]];
  }
  plan.known = true;
  return plan;
}

// Tells which fits had too few points.
void tellMissingFits(const ReportData& report, std::ostream& messages) {
  for (const ReportGroup& group : report.groups) {
    const std::string of = report.grouped() ? " of " + group.label : "";
    for (std::size_t w = 0; w < group.wheels.size(); ++w) {
      const TyreAnalysis& a = group.wheels[w];
      const auto tell = [&](bool fitted, const char* what) {
        if (fitted) return;
        messages << "too few points for the " << wheelNames[w] << " " << what << " fit" << of << " (fewer than "
                 << minFitPoints << ", or fewer than eight distinct slips); it is left out." << std::endl;
      };
      tell(a.lateral.has_value(), "lateral");
      tell(a.longitudinal.has_value(), "longitudinal");
    }
  }
}

// The progress line while group g of `groups` is fitted.
std::string fittingProgress(std::size_t replays, std::size_t g, std::size_t groups) {
  return "read " + std::to_string(replays) + " replays; fitting group " + std::to_string(g + 1) + " of " +
         std::to_string(groups);
}

// The group's fits are taken: what a page draws of its tyres' points is kept
// (at most its share, of `groups`, of a chart's points) and the points
// themselves given back, with which of them the fits took, before the laps'
// analysis, which needs them no more and holds the most. The page's load
// classes span every group, so the loads are kept until all are fitted.
void fitGroup(ReportGroup& group, std::size_t finalIndex, std::size_t groups, bool forPage) {
  group.shrinkToFit();
  if (forPage) {
    for (const WheelPoints& p : group.points) {
      group.pointLoads.insert(group.pointLoads.end(), p.normalLoad.begin(), p.normalLoad.end());
    }
  }
  // Each group its own draws: the groups are resampled independently.
  analyseGroup(group, reportSeed + finalIndex);
  if (forPage) {
    const std::size_t most = maxChartPoints / groups;
    for (std::size_t w = 0; w < raf::wheelCount; ++w) {
      group.wheelCharts[w] = chartPoints({&group.points[w], &group.wheelSubsets[w]}, most);
    }
    // A single group's page draws both axles in one chart.
    for (std::size_t a = 0; a < axleCount; ++a) {
      group.axleCharts[a] = chartPoints({&group.axlePoints[a], &group.axleSubsets[a]}, groups > 1 ? most : most / 2);
    }
  }
  group.points = {};
  for (WheelPoints& p : group.axlePoints) p.keepGripsAndLoads();
  group.wheelSubsets = {};
  group.axleSubsets = {};
  group.fitted = true;
}

// Classes every group's drawn points by the loads of all groups' points.
void classChartPoints(ReportData& report) {
  std::vector<float> loads;
  for (const ReportGroup& g : report.groups) loads.insert(loads.end(), g.pointLoads.begin(), g.pointLoads.end());
  report.loadEdges = loadClassEdges(loads);
  for (ReportGroup& g : report.groups) {
    g.pointLoads = {};
    for (TyreChartPoints& c : g.wheelCharts) c.classByLoad(report.loadEdges);
    for (TyreChartPoints& c : g.axleCharts) c.classByLoad(report.loadEdges);
  }
}

// Fits the groups not fitted yet, compares them, and reads the laps by place.
void analyseReport(ReportData& report, const ReportRequest& request, bool forPage, std::ostream& messages,
                   const ProgressReport& progress) {
  std::size_t replays = 0;
  for (const ReportGroup& g : report.groups) replays += g.replays.size();
  for (std::size_t g = 0; g < report.groups.size(); ++g) {
    if (report.groups[g].fitted) continue;
    if (progress) progress(fittingProgress(replays, g, report.groups.size()));
    fitGroup(report.groups[g], g, report.groups.size(), forPage);
  }
  if (forPage) classChartPoints(report);
  if (report.comparison()) report.setupDifferences = compareSetups(report.groups);
  report.setupMixes = setupMixes(report.groups);
  if (report.comparison()) {
    report.differences = compareGroups(report.groups);
    noteTyreTypes(report.groups, report.differences);
  }
  std::vector<std::string> lapMessages;
  report.speedUnit = request.speedUnit;
  report.tracks = analyseTracks(report.groups, request.reference, lapMessages);
  const std::vector<std::string> labels = report.labels();
  if (report.comparison()) {
    std::vector<std::vector<double>> gearing;
    for (const ReportGroup& g : report.groups) gearing.push_back(overallRatios(g.replays.front().setup));
    std::vector<Difference> corners = compareLaps(report.tracks, gearing);
    report.claims = claimAcrossComparisons(corners);
    report.differences.insert(report.differences.end(), corners.begin(), corners.end());
    sortDifferences(report.differences);
    for (TrackAnalysis& t : report.tracks) {
      takeComparison(t.session, t, report.differences, report.tracks.size() > 1 ? t.track + " " : "");
    }
  }
  // A session's groups are read against the field, not one another.
  if (!report.session()) report.findings = findTimeLoss(report.tracks, report.differences, labels);
  std::vector<std::vector<std::string>> players;
  for (const ReportGroup& g : report.groups) {
    players.emplace_back();
    for (const ReplaySummary& r : g.replays) players.back().push_back(r.player);
  }
  explainFindings(report.findings, {report.differences, report.setupDifferences, labels, players});
  if (progress) progress("");
  for (const std::string& m : lapMessages) messages << m << std::endl;
  tellMissingFits(report, messages);
}

}  // namespace

ReplaySummary replaySummary(std::string file, const ReplayNames& names) {
  ReplaySummary summary;
  summary.file = std::move(file);
  summary.car = decodeSimulatorText(names.car);
  summary.player = decodeSimulatorText(names.player);
  summary.track = decodeSimulatorText(names.track);
  summary.layout = decodeSimulatorText(names.layout);
  summary.setup = names.setup;
  return summary;
}

void addLoadedReplay(ReportGroup& group, ReplaySummary summary, const std::vector<std::int32_t>& splitsMs,
                     Replay& replay, bool withTrace) {
  if (!splitsMs.empty()) summary.lap = lapSamples(replay, splitsMs);
  group.add(replay, std::move(summary));
  // The traces take the replay's series: last.
  if (withTrace) group.replays.back().trace = takeTrace(replay);
}

namespace {

// One replay given twice, in one group or in two, whatever its spelling, would
// be compared with itself: refused, naming it. A name that reaches no file is
// left for its reading to report.
ExitCode refuseRepeats(const ReportRequest& request, std::ostream& messages) {
  // A season's thousands of laps: each identity looked up, not compared with all before it.
  std::map<std::pair<std::uint64_t, std::uint64_t>, const std::string*> seen;
  for (const GroupRequest& g : request.groups) {
    for (const std::string& file : g.replays) {
      const std::optional<FileId> id = fileIdentity(file);
      if (!id) continue;
      const auto [at, isNew] = seen.try_emplace({id->volume, id->index}, &file);
      if (isNew) continue;
      const std::string& before = *at->second;
      messages << file << (before == file ? " is given twice" : " is " + before + ", given before")
               << "; give each replay once." << std::endl;
      return ExitCode::usage;
    }
  }
  return ExitCode::success;
}

}  // namespace

ExitCode buildReport(const ReportRequest& request, std::span<const std::string> outputs, bool forPage,
                     ReportData& report, std::ostream& messages, const ProgressReport& progress) {
  if (const ExitCode repeated = refuseRepeats(request, messages); repeated != ExitCode::success) return repeated;
  if (request.by == GroupBy::commandLine) report.groups.resize(request.groups.size());
  const GroupPlan plan = planGroups(request);
  // Only one group's page draws its replays' traces.
  const bool withTrace = forPage && request.groups.size() == 1 && (!plan.known || plan.replays.size() == 1);
  struct Reading {
    const std::string* file;
    std::size_t requested;  // the group it was given in
    std::size_t group;      // the group it joins, where known
  };
  std::vector<Reading> reading;
  for (std::size_t g = 0; g < request.groups.size(); ++g) {
    for (const std::string& file : request.groups[g].replays) {
      reading.push_back({&file, g, plan.known ? plan.replayGroup[reading.size()] : 0});
    }
  }
  // Group by group, in the report's order, each group's replays as given:
  // each group is opened in its place.
  std::stable_sort(reading.begin(), reading.end(), [](const Reading& a, const Reading& b) { return a.group < b.group; });
  std::vector<std::size_t> left = plan.replays;
  for (std::size_t done = 0; done < reading.size(); ++done) {
    const Reading& r = reading[done];
    if (progress) progress("read " + std::to_string(done) + " of " + std::to_string(reading.size()) + " replays");
    std::size_t joined = 0;
    const ExitCode code = addReplay(*r.file, outputs, withTrace, request, r.requested, report, messages, joined);
    if (code != ExitCode::success) return code;
    if (!plan.known) continue;
    // A group fitted could not take another replay: a header that now names
    // another driver, car or setup than a moment ago is refused.
    if (joined != r.group) {
      messages << *r.file << " changed while it was read; read it again once it is written." << std::endl;
      return ExitCode::notAReplay;
    }
    if (--left[joined] != 0) continue;
    if (progress) progress(fittingProgress(done + 1, joined, plan.replays.size()));
    fitGroup(report.groups[joined], joined, plan.replays.size(), forPage);
  }
  for (ReportGroup& group : report.groups) {
    if (group.fitted) continue;
    group.shrinkToFit();
    if (report.grouped()) {
      for (ReplaySummary& r : group.replays) r.trace = ReplayTrace{};
    }
  }
  labelGroups(report, request);
  // Groups named by a replay's car, track or player read in the order of
  // their names; those of the command line or of setups in the order given.
  if (request.by == GroupBy::car || request.by == GroupBy::track || request.by == GroupBy::player) {
    std::stable_sort(report.groups.begin(), report.groups.end(),
                     [](const ReportGroup& a, const ReportGroup& b) { return naturalLess(a.label, b.label); });
  }
  analyseReport(report, request, forPage, messages, progress);
  return ExitCode::success;
}

ExitCode reportJson(const ReportRequest& request, std::string& json, std::ostream& messages) {
  if (const std::string problem = checkGroups(request); !problem.empty()) {
    messages << problem << std::endl;
    return ExitCode::usage;
  }
  ReportData report;
  const ExitCode code = buildReport(request, {}, false, report, messages);
  if (code == ExitCode::success) json = jsonSummary(report);
  return code;
}

}  // namespace skidlog
