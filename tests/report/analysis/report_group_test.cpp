// A group pools its replays' points in order, in room for exactly them;
// the report's pipeline keeps what a page draws of them and gives them back;
// a long trace keeps every channel's peaks for its chart.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <span>
#include <sstream>
#include <string>
#include <vector>

#include "report/report_build.h"
#include "report/report_data.h"
#include "skidlog/skidlog.h"
#include "tests/support/report_json.h"
#include "tests/support/temp_dir.h"
#include "tools/generator/synth.h"

namespace skidlog {
namespace {

Replay generated(std::uint64_t seed) {
  generator::LapOptions lap;
  lap.seconds = 20.0;
  lap.seed = seed;
  const std::vector<std::byte> bytes = generator::generateLap(generator::exampleCar(), lap);
  Replay replay;
  EXPECT_EQ(loadReplay(bytes, std::uint64_t{1} << 32, replay).status, LoadStatus::loaded);
  deriveWheelSeries(replay);
  return replay;
}

TEST(ReportGroup, PoolsItsReplaysPointsInOrderInRoomForExactlyThem) {
  const Replay first = generated(1), second = generated(2);
  TyrePoints direct;
  appendTyrePoints(first, {0, 0}, direct);
  const double interval = static_cast<double>(first.header.sampleInterval);
  appendTyrePoints(second, {static_cast<std::uint32_t>(first.sampleCount()), blockCount(first.sampleCount(), interval)},
                   direct);
  ReportGroup group;
  group.add(first);
  group.add(second);
  group.shrinkToFit();
  group.shrinkToFit();  // a second time changes nothing
  for (std::size_t w = 0; w < direct.size(); ++w) {
    const WheelPoints& p = group.points[w];
    EXPECT_GT(p.size(), first.sampleCount());
    EXPECT_EQ(p.slipAngle, direct[w].slipAngle);
    EXPECT_EQ(p.normalLoad, direct[w].normalLoad);
    EXPECT_EQ(p.sample, direct[w].sample);
    EXPECT_EQ(p.block, direct[w].block);
    EXPECT_EQ(p.speed.capacity(), p.size());
  }
}

// What the page draws is kept, at most its share of a chart's points, and the
// points and subsets go; without a page nothing is kept for it. Every group
// of a comparison keeps its scatters, and none its replays' traces.
TEST(ReportGroup, ThePipelineKeepsWhatThePageDrawsAndGivesBackThePoints) {
  test::TempDir dir;
  std::vector<std::string> files;
  for (std::uint64_t seed = 1; seed <= 2; ++seed) {
    generator::LapOptions lap;
    lap.seconds = 30.0;
    lap.seed = seed;
    files.push_back(test::writeLap(dir / ("lap" + std::to_string(seed) + ".raf"), generator::exampleCar(), lap));
  }
  for (const bool page : {true, false}) {
    for (const std::size_t groups : {std::size_t{1}, std::size_t{2}}) {
      SCOPED_TRACE(std::string(page ? "page" : "JSON") + ", groups " + std::to_string(groups));
      ReportRequest request;
      if (groups == 1) {
        request.groups.push_back({std::nullopt, files});
      } else {
        request.groups.push_back({std::nullopt, {files[0]}});
        request.groups.push_back({std::nullopt, {files[1]}});
      }
      ReportData report;
      std::ostringstream messages;
      ASSERT_EQ(buildReport(request, {}, page, report, messages), ExitCode::success) << messages.str();
      for (const ReportGroup& g : report.groups) {
        for (std::size_t w = 0; w < g.points.size(); ++w) {
          EXPECT_EQ(g.points[w].size(), 0u);
          EXPECT_TRUE(g.wheelSubsets[w].all.empty());
          const ScatterPoints& circle = g.wheelCharts[w].circle;
          EXPECT_EQ(circle.x.empty(), !page);
          EXPECT_LE(circle.x.size(), maxChartPoints / groups);
          std::size_t classed = 0;
          for (const std::size_t c : circle.classes) classed += c;
          EXPECT_EQ(classed, circle.x.size());
        }
        EXPECT_EQ(g.axleCharts[0].lateral.x.empty(), !page);
        for (const ReplaySummary& r : g.replays) EXPECT_EQ(r.trace.time.size() > 0, page && groups == 1);
      }
      EXPECT_EQ(report.loadEdges.size(), page ? 4u : 0u);
    }
  }
}

// Grouped by driver, the replays are read group by group and each group is
// fitted as soon as its last lap is in: the report is the same whichever way
// the laps are listed, laps of one driver together or taken in turns, and
// the groups stand in the order of their names.
TEST(ReportGroup, GroupsByNameAreTheSameWhateverTheOrderOfTheReplays) {
  test::TempDir dir;
  std::vector<std::string> byDriver;
  for (const char* player : {"Driver 10", "Driver 2"}) {
    for (std::uint64_t seed = 1; seed <= 2; ++seed) {
      generator::LapOptions lap;
      lap.seconds = 20.0;
      lap.seed = seed + (player[7] == '1' ? 10 : 0);
      lap.texts.player = player;
      byDriver.push_back(test::writeLap(dir / (player + std::string("-") + std::to_string(seed) + ".raf"),
                                        generator::exampleCar(), lap));
    }
  }
  const std::vector<std::string> inTurns = {byDriver[2], byDriver[0], byDriver[3], byDriver[1]};
  std::string json[2];
  for (std::size_t k = 0; k < 2; ++k) {
    ReportRequest request;
    request.by = GroupBy::player;
    request.groups.push_back({std::nullopt, k == 0 ? byDriver : inTurns});
    std::ostringstream messages;
    ASSERT_EQ(reportJson(request, json[k], messages), ExitCode::success) << messages.str();
  }
  EXPECT_EQ(json[0], json[1]);
  const nlohmann::json summary = nlohmann::json::parse(json[0]);
  ASSERT_EQ(summary["groups"].size(), 2u);
  EXPECT_EQ(summary["groups"][0]["label"], "Driver 2");
  EXPECT_EQ(summary["groups"][1]["label"], "Driver 10");
}

// A long trace thinned for its chart keeps a one-sample spike and dip of one
// channel and the gap of another, its ends, and no more samples than asked;
// a short one keeps every sample.
TEST(ChartPoints, ALongTraceKeepsEveryChannelsPeaksAndGaps) {
  const std::size_t n = 100000;
  std::vector<float> pedal(n, 0.0f), ramp(n);
  pedal[54321] = 5.0f;
  pedal[777] = -3.0f;
  for (std::size_t i = 0; i < n; ++i) ramp[i] = static_cast<float>(i);
  for (std::size_t i = 20000; i < 20003; ++i) ramp[i] = std::numeric_limits<float>::quiet_NaN();
  const std::span<const float> channels[] = {pedal, ramp};
  const std::vector<std::size_t> picked = traceSamples(n, 20000, channels);
  EXPECT_LE(picked.size(), 20000u);
  EXPECT_GT(picked.size(), 2 * 2500u);  // at least each run's first and last
  EXPECT_TRUE(std::is_sorted(picked.begin(), picked.end()));
  EXPECT_EQ(std::adjacent_find(picked.begin(), picked.end()), picked.end());
  const auto kept = [&](std::size_t i) { return std::binary_search(picked.begin(), picked.end(), i); };
  EXPECT_TRUE(kept(0) && kept(n - 1) && kept(54321) && kept(777));
  EXPECT_TRUE(kept(20000) || kept(20001) || kept(20002));
  EXPECT_EQ(traceSamples(5000, 20000, channels).size(), 5000u);
}

}  // namespace
}  // namespace skidlog
