// skidlog-report: names as the simulator shows them, and the command line's
// pooling, refusals, exit codes and JSON.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "report/cli/report_run.h"
#include "report/laps/findings.h"
#include "report/output/words/corner_words.h"
#include "skidlog/simulator_text.h"
#include "tests/support/replay_builder.h"
#include "tests/support/temp_dir.h"
#include "tools/generator/drive.h"
#include "tools/generator/synth.h"

namespace skidlog {
namespace {

TEST(SimulatorText, EscapesColoursAndCodePages) {
  EXPECT_EQ(decodeSimulatorText("T7R^vDanowat"), "T7R|Danowat");
  EXPECT_EQ(decodeSimulatorText("v^sM.Jagiello."), "v/M.Jagiello.");
  EXPECT_EQ(decodeSimulatorText("[T^J\xcf] Lima"), "[T\xef\xbe\x8f] Lima");  // half-width katakana MA
  EXPECT_EQ(decodeSimulatorText("^1Red^7 ^a^c^d^q^t^l^r^h^^"), "Red *:\\?\"<>#^");
  EXPECT_EQ(decodeSimulatorText("K\xf6nig ^CK\xf6nig"), "K\xc3\xb6nig K\xd1\x86nig");  // Latin-1, then Cyrillic
  EXPECT_EQ(decodeSimulatorText("^J\x82"), "\xef\xbf\xbd");  // a lead byte with nothing after it
  EXPECT_EQ(decodeSimulatorText("end^"), "end^");
}

class ReportRunTest : public ::testing::Test {
 protected:
  test::TempDir dir;
  std::string json = dir / "summary.json";

  std::string replay(const std::string& name, const std::string& car, int samples = 120) {
    test::ReplayBuilder b = test::drivingReplay(samples);
    for (std::size_t k = 0; k < car.size(); ++k) b.put<std::uint8_t>(64 + k, static_cast<std::uint8_t>(car[k]));
    test::writeFile(dir / name, b.text());
    return dir / name;
  }
  int run(const std::vector<std::string>& args) {
    std::vector<const char*> argv = {"skidlog-report"};
    for (const std::string& a : args) argv.push_back(a.c_str());
    out.str("");
    messages.str("");
    return runReport(argv, out, messages);
  }
  std::ostringstream out, messages;
};

TEST_F(ReportRunTest, PoolsTheLapsOfOneCar) {
  const std::string a = replay("a.raf", "XR GT"), b = replay("b.raf", "XR GT");
  ASSERT_EQ(run({"--json", json, a, b}), 0) << messages.str();
  const std::string text = test::readFile(json);
  EXPECT_NE(text.find("\"car\": \"XR GT\""), std::string::npos);
  EXPECT_NE(text.find("b.raf\","), std::string::npos);
  // Two laps of 120 rows per wheel: every wheel reports 240.
  EXPECT_NE(text.find("\"rows\": 240"), std::string::npos);
}

TEST_F(ReportRunTest, JsonGivesEachNumberItsIntervalAndFloatsTheirShortestDecimal) {
  const generator::CarSetup car = generator::exampleCar();
  generator::LapOptions lap;
  lap.seconds = 30.0;
  const std::vector<std::byte> bytes = generator::generateLap(car, lap);
  test::writeFile(dir / "lap.raf", std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  ASSERT_EQ(run({"--json", json, dir / "lap.raf"}), 0) << messages.str();
  const std::string text = test::readFile(json);
  // The setup follows it on the next line (CR LF on Windows).
  EXPECT_TRUE(text.find("\"interval_s\": 0.01,\n") != std::string::npos ||
              text.find("\"interval_s\": 0.01,\r\n") != std::string::npos);
  const nlohmann::json summary = nlohmann::json::parse(text);
  for (const nlohmann::json& wheel : summary["wheels"]) {
    const double sensitivity = wheel["load_sensitivity"];
    EXPECT_LE(wheel["load_sensitivity_ci"][0].get<double>(), sensitivity);
    EXPECT_GE(wheel["load_sensitivity_ci"][1].get<double>(), sensitivity);
    for (const char* curve : {"lateral", "longitudinal"}) {
      const nlohmann::json& fit = wheel[curve];
      const double b = fit["B"], c = fit["C"], d = fit["D"];
      EXPECT_DOUBLE_EQ(fit["cornering_stiffness"].get<double>(), b * c * d);
      EXPECT_TRUE(fit["bounded"].is_array());
      for (const char* key : {"peak_grip", "peak_slip", "cornering_stiffness"}) {
        const nlohmann::json& ci = fit[std::string(key) + "_ci"];
        EXPECT_LE(ci[0].get<double>(), fit[key].get<double>()) << key;
        EXPECT_GE(ci[1].get<double>(), fit[key].get<double>()) << key;
      }
    }
    // A band's curve has no interval of its own.
    EXPECT_FALSE(wheel["load_bands"][0]["fit"].contains("peak_grip_ci"));
  }
}

TEST_F(ReportRunTest, RefusalsAndExitCodes) {
  const std::string a = replay("a.raf", "XR GT"), b = replay("b.raf", "XF GTI");
  EXPECT_EQ(run({"--json", json, a, b}), 4);
  EXPECT_NE(messages.str().find(b + " is a replay of XF GTI, " + a + " of XR GT"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(json));
  EXPECT_EQ(run({"--json", json, a, dir / "missing.raf"}), 2);
  EXPECT_FALSE(std::filesystem::exists(json));
  EXPECT_EQ(run({"--json=" + a, a}), 3);
  EXPECT_EQ(run({"--json", dir / "no/such/dir.json", a}), 3);
  EXPECT_EQ(run({"--json", json}), 1);
  EXPECT_EQ(run({"-o", json, "--json", json, a}), 1);  // one would overwrite the other
  EXPECT_EQ(run({"--bogus", a}), 1);
  // One replay twice, in one group, in two, or through another spelling.
  const std::string c = replay("c.raf", "XR GT");
  EXPECT_EQ(run({"--json", json, a, c, a}), 1);
  EXPECT_EQ(messages.str(), "skidlog-report: " + a + " is given twice; give each replay once.\n");
  EXPECT_EQ(run({"--json", json, a, "--vs", c, a}), 1);
  const std::string spelled = dir / "./c.raf";
  EXPECT_EQ(run({"--json", json, c, "--vs", spelled}), 1);
  EXPECT_EQ(messages.str(), "skidlog-report: " + spelled + " is " + c + ", given before; give each replay once.\n");
  EXPECT_FALSE(std::filesystem::exists(json));
  EXPECT_EQ(run({"--version"}), 0);
  EXPECT_EQ(out.str().rfind("skidlog-report ", 0), 0u);
  EXPECT_EQ(run({"-h"}), 0);
  EXPECT_NE(out.str().find("Usage: skidlog-report"), std::string::npos);
}

// An action's words: a speed in the reader's unit, the brake pedal in points
// of its travel (0.27 of the pedal is 27 points, not "27 % harder").
TEST(FindingWords, SpeedsInTheReadersUnitAndThePedalInPoints) {
  Difference speed;
  speed.quantity = "min_speed";
  speed.delta.value = 1.0;
  speed.delta.ci = {0.5, 1.5};
  EXPECT_EQ(actionText(speed, true), "minimum speed 1.0 m/s higher (0.5 to 1.5 m/s)");
  EXPECT_EQ(actionText(speed, true, SpeedUnit::kilometresPerHour), "minimum speed 3.6 km/h higher (1.8 to 5.4 km/h)");
  EXPECT_EQ(actionText(speed, true, SpeedUnit::milesPerHour), "minimum speed 2.2 mph higher (1.1 to 3.4 mph)");
  Difference brake;
  brake.quantity = "peak_brake";
  brake.delta.value = -0.27;
  brake.hasInterval = false;
  EXPECT_EQ(actionText(brake, true, SpeedUnit::kilometresPerHour), "peak brake pedal 27 points lower");
}

// A corner's time in words and its interval run the same way: a gain's
// interval is of the time gained, whether or not it leaves zero out.
TEST(FindingWords, TheIntervalRunsTheWayTheWordsDo) {
  CornerFinding f;
  f.corner = "T2";
  f.who = "b";
  f.against = "a";
  f.timeLost.to = 1;
  f.timeLost.quantity = "segment_time_s";
  f.timeLost.delta.value = -0.06;
  f.timeLost.delta.ci = {-0.12, 0.01};
  f.timeLost.verdict = noDifferenceShown;
  EXPECT_EQ(findingSentence(f), "T2: b gains 0.06 s, within the laps' own variation (\u22120.01 to 0.12 s)");
  f.timeLost.delta.ci = {-0.12, -0.02};
  f.timeLost.verdict = lower;
  EXPECT_EQ(findingSentence(f), "T2: b gains 0.06 s (0.02 to 0.12 s)");
  f.timeLost.delta.value = 0.3;
  f.timeLost.delta.ci = {0.1, 0.5};
  f.timeLost.verdict = higher;
  EXPECT_EQ(findingSentence(f), "T2: b loses 0.30 s (0.10 to 0.50 s)");
  f.timeLost.hasInterval = false;
  f.timeLost.verdict = lapsDisagree;
  f.timeLost.disagreement = {0, 2, 0.7241, "a2.raf", 61.27, 60.42};
  EXPECT_EQ(findingSentence(f), "T2: b loses 0.30 s, but the laps disagree here (a's 2 laps spread 0.724 s from lap to "
                                "lap, more than an interval over so few can bound; a2.raf 61.270 s against 60.420 s "
                                "for its other lap)");
}

TEST_F(ReportRunTest, TheSpeedUnitIsOneOfThree) {
  const std::string a = replay("a.raf", "XR GT");
  EXPECT_EQ(run({"--speed-unit=kph", "--json", json, a}), 1);
  EXPECT_NE(messages.str().find("'--speed-unit' takes m/s, km/h or mph, not 'kph'"), std::string::npos);
  ASSERT_EQ(run({"--speed-unit", "mph", "-o", "-", a}), 0) << messages.str();
  EXPECT_NE(out.str().find("mph"), std::string::npos);
}

TEST_F(ReportRunTest, DashWritesToStandardOutputAndThePageSaysWhatItIs) {
  const std::string a = replay("a.raf", "XR GT");
  ASSERT_EQ(run({"--json", "-", a}), 0) << messages.str();
  EXPECT_EQ(nlohmann::json::parse(out.str())["replays"][0]["car"], "XR GT");
  ASSERT_EQ(run({"-o", "-", a}), 0) << messages.str();
  EXPECT_EQ(out.str().rfind("<!DOCTYPE html>", 0), 0u);
  // Replays without a lap of a track make a tyre report.
  EXPECT_NE(out.str().find("<title>Tyre report: XR GT</title>"), std::string::npos);
  // Whole laps of a track: the laps, or a lap comparison of the groups.
  generator::LapOptions options;
  options.wholeLap = true;
  const std::vector<std::byte> bytes = generator::generateLap(generator::exampleCar(), options);
  test::writeFile(dir / "lap.raf", std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  ASSERT_EQ(run({"-o", "-", dir / "lap.raf"}), 0) << messages.str();
  EXPECT_NE(out.str().find("<title>Laps: "), std::string::npos);
  // Laps of two tracks name both.
  generator::LapOptions elsewhere = options;
  elsewhere.texts.track = "Kyoto";
  const std::vector<std::byte> kyoto = generator::generateLap(generator::exampleCar(), elsewhere);
  test::writeFile(dir / "kyoto.raf", std::string(reinterpret_cast<const char*>(kyoto.data()), kyoto.size()));
  ASSERT_EQ(run({"-o", "-", dir / "lap.raf", dir / "kyoto.raf"}), 0) << messages.str();
  EXPECT_NE(out.str().find(" at Generated circuit and Kyoto</title>"), std::string::npos);
  std::filesystem::copy_file(dir / "lap.raf", dir / "friend.raf");
  ASSERT_EQ(run({"-o", "-", dir / "lap.raf", "--vs", dir / "friend.raf"}), 0) << messages.str();
  EXPECT_NE(out.str().find("<title>Lap comparison: lap vs friend"), std::string::npos);
  // The page to standard output and the JSON to a file, or the other way.
  ASSERT_EQ(run({"-o", "-", "--json", json, a}), 0) << messages.str();
  EXPECT_TRUE(std::filesystem::exists(json));
  EXPECT_FALSE(std::filesystem::exists("-"));
  EXPECT_FALSE(std::filesystem::exists(dir / "-"));
  // Both cannot share it.
  EXPECT_EQ(run({"-o", "-", "--json=-", a}), 1);
  EXPECT_NE(messages.str().find("cannot both go to standard output"), std::string::npos);
}

}  // namespace
}  // namespace skidlog
