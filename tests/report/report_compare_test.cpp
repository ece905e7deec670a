// skidlog-report compares groups of replays: the command line that forms the
// groups, and differences that are real found while those that are not are
// not claimed.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "report/cli/options.h"
#include "report/cli/report_run.h"
#include "tests/support/replay_builder.h"
#include "tests/support/temp_dir.h"
#include "tools/generator/drive.h"
#include "tools/generator/synth.h"

namespace skidlog {
namespace {

using Json = nlohmann::json;

generator::CarSetup brushCar() { return generator::withBrushTyres(generator::exampleCar()); }

generator::CarSetup withGrippierRears(generator::CarSetup car) {
  car.rear = generator::withGrip(car.rear, 1.05);
  return car;
}

// How much a lap's grip varies within a session (the tyres' warmth) in the
// brush-tyre laps.
constexpr double sessionGripVariation = 0.01;

// Laps written once for every test here: five of the example car, five more
// of it with other seeds, and five with rear tyres that grip 5 % more; and
// the same fifteen with brush tyres (a shape the report does not fit) whose
// grip varies from lap to lap as in a session.
class CompareTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new test::TempDir;
    for (std::uint64_t k = 1; k <= 5; ++k) {
      write("base" + std::to_string(k) + ".raf", generator::exampleCar(), k);
      write("same" + std::to_string(k) + ".raf", generator::exampleCar(), 20 + k);
      write("soft" + std::to_string(k) + ".raf", withGrippierRears(generator::exampleCar()), 10 + k);
      write("brushbase" + std::to_string(k) + ".raf", brushCar(), 50 + k, {}, sessionGripVariation);
      write("brushsame" + std::to_string(k) + ".raf", brushCar(), 60 + k, {}, sessionGripVariation);
      write("brushsoft" + std::to_string(k) + ".raf", withGrippierRears(brushCar()), 70 + k, {}, sessionGripVariation);
    }
  }
  static void TearDownTestSuite() { delete dir_; }

  static void write(const std::string& name, const generator::CarSetup& car, std::uint64_t seed,
                    const generator::ReplayTexts& texts = {}, double gripVariation = 0.0) {
    generator::LapOptions lap;
    lap.seed = seed;
    lap.texts = texts;
    lap.gripVariation = gripVariation;
    const std::vector<std::byte> bytes = generator::generateLap(car, lap);
    test::writeFile(*dir_ / name, std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  }
  static std::string path(const std::string& name) { return *dir_ / name; }
  static std::vector<std::string> laps(const std::string& stem) {
    std::vector<std::string> out;
    for (int k = 1; k <= 5; ++k) out.push_back(path(stem + std::to_string(k) + ".raf"));
    return out;
  }

  void SetUp() override { std::filesystem::remove(json); }

  int run(const std::vector<std::string>& args) {
    std::vector<const char*> argv = {"skidlog-report"};
    for (const std::string& a : args) argv.push_back(a.c_str());
    messages.str("");
    return runReport(argv, out, messages);
  }
  Json summary() const { return Json::parse(test::readFile(json)); }

  static test::TempDir* dir_;
  std::string json = *dir_ / "summary.json";
  std::ostringstream out, messages;
};

test::TempDir* CompareTest::dir_ = nullptr;

std::vector<std::string> joined(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// A known 5 % in rear grip is found on the rear wheels' peak grip and on the
// rear axle (its peak grip, or where its peak is not reached in both groups,
// its cornering stiffness, which the scaled peak factor raises by 5 % too),
// and no front quantity is called different.
void expectRearGripDifference(const Json& s) {
  std::set<std::string> rearPeaks, rearAxle;
  for (const Json& d : s["differences"]) {
    EXPECT_EQ(d["from"], "base");
    const std::string where = d["where"];
    if (where == "FL" || where == "FR" || where == "front") {
      EXPECT_EQ(d["verdict"], "no difference shown") << where << " " << d["curve"] << " " << d["quantity"];
    }
    if (d["curve"] != "lateral" || d["verdict"] != "higher") continue;
    if (d["quantity"] == "peak_grip" && where != "rear") rearPeaks.insert(where);
    if (where == "rear") rearAxle.insert(d["quantity"].get<std::string>());
  }
  EXPECT_EQ(rearPeaks, (std::set<std::string>{"RL", "RR"}));
  EXPECT_TRUE(rearAxle.count("peak_grip") + rearAxle.count("cornering_stiffness") > 0);
}

// Two groups of one tyre: at most a tenth of the quantities called different.
void expectNoDifferenceClaimed(const Json& s) {
  std::size_t none = 0;
  for (const Json& d : s["differences"]) none += d["verdict"] == "no difference shown";
  EXPECT_GE(static_cast<double>(none), 0.9 * static_cast<double>(s["differences"].size()));
}

TEST_F(CompareTest, RealDifferencesAreFound) {
  ASSERT_EQ(run(joined(joined({"--json", json, "--label", "base"}, laps("base")),
                       joined({"--vs", "--label", "soft"}, laps("soft")))), 0) << messages.str();
  expectRearGripDifference(summary());
}

TEST_F(CompareTest, DifferencesThatAreNotRealAreNotClaimed) {
  ASSERT_EQ(run(joined(joined({"--json", json}, laps("base")), joined({"--vs"}, laps("same")))), 0) << messages.str();
  const Json s = summary();
  expectNoDifferenceClaimed(s);
  EXPECT_EQ(s["groups"][0]["label"], "base1");  // the first replay's name, without folder and extension
  EXPECT_EQ(s["groups"][1]["label"], "same1");
}

TEST_F(CompareTest, BrushTyresVaryingLapToLapGiveTheSameVerdicts) {
  ASSERT_EQ(run(joined(joined({"--json", json, "--label", "base"}, laps("brushbase")),
                       joined({"--vs", "--label", "soft"}, laps("brushsoft")))), 0) << messages.str();
  expectRearGripDifference(summary());
  ASSERT_EQ(run(joined(joined({"--json", json}, laps("brushbase")), joined({"--vs"}, laps("brushsame")))), 0)
      << messages.str();
  expectNoDifferenceClaimed(summary());
}

TEST_F(CompareTest, OneGroupKeepsTheReportAsItIs) {
  ASSERT_EQ(run({"--json", json, path("base1.raf"), path("base2.raf")}), 0) << messages.str();
  const Json s = summary();
  EXPECT_FALSE(s.contains("groups"));
  EXPECT_FALSE(s.contains("differences"));
  EXPECT_EQ(s["replays"].size(), 2u);
  EXPECT_EQ(s["wheels"].size(), 4u);
}

TEST_F(CompareTest, GroupsFromTheCommandLine) {
  const std::string a = path("base1.raf"), b = path("soft1.raf");
  // --vs needs replays on both sides; --by goes alone.
  EXPECT_EQ(run({"--json", json, a, "--vs"}), 1);
  EXPECT_NE(messages.str().find("'--vs' needs replays on both sides"), std::string::npos);
  EXPECT_EQ(run({"--json", json, "--vs", a}), 1);
  EXPECT_EQ(run({"--json", json, "--by", "player", a, "--vs", b}), 1);
  EXPECT_EQ(run({"--json", json, "--by", "weather", a}), 1);
  EXPECT_EQ(run({"--json", json, "--label", "x", "--label", "y", a}), 1);
  EXPECT_FALSE(std::filesystem::exists(json));
  // Labels: given, or the replay's name; two alike are told apart.
  std::filesystem::create_directories(*dir_ / "copy");
  const std::string copy = *dir_ / "copy/base1.raf";
  std::filesystem::copy_file(a, copy, std::filesystem::copy_options::overwrite_existing);
  ASSERT_EQ(run({"--json", json, a, "--vs", "--label=wet", b, "--vs", copy}), 0) << messages.str();
  const Json s = summary();
  EXPECT_EQ(s["groups"][0]["label"], "base1");
  EXPECT_EQ(s["groups"][1]["label"], "wet");
  EXPECT_EQ(s["groups"][2]["label"], "base1 (2)");
}

// A group's default label and the default page's name drop the extension of
// the file name only: not a dot in a folder's name, not a leading dot.
TEST(ReplayNames, TheExtensionIsTheFileNamesLastDot) {
  EXPECT_EQ(defaultLabel("runs.v2/lap.raf"), "lap");
  EXPECT_EQ(defaultLabel("runs.v2/lap"), "lap");
  EXPECT_EQ(defaultLabel("C:\\laps\\a.b.raf"), "a.b");
  EXPECT_EQ(defaultLabel("laps/.raf"), ".raf");
  EXPECT_EQ(extensionAt("runs.v2/lap"), std::string::npos);
  EXPECT_EQ(extensionAt("laps/.raf"), std::string::npos);
  EXPECT_EQ(extensionAt("laps/lap.raf"), 8u);
}

TEST_F(CompareTest, GroupsByName) {
  generator::ReplayTexts anna, bob, other;
  anna.player = "Anna";
  bob.player = "Bob";
  other.player = "Anna";
  other.car = "Other GT";
  write("anna.raf", generator::exampleCar(), 31, anna);
  write("bob.raf", generator::exampleCar(), 32, bob);
  write("other.raf", generator::exampleCar(), 33, other);
  ASSERT_EQ(run({"--json", json, "--by=player", path("anna.raf"), path("bob.raf"), path("base1.raf")}), 0)
      << messages.str();
  const Json s = summary();
  ASSERT_EQ(s["groups"].size(), 3u);
  EXPECT_EQ(s["groups"][0]["label"], "Anna");
  EXPECT_EQ(s["groups"][2]["label"], "make_replay");
  // Within a group one car; across groups any cars.
  EXPECT_EQ(run({"--json", json, "--by", "player", path("anna.raf"), path("other.raf")}), 4);
  EXPECT_NE(messages.str().find("other.raf is a replay of Other GT, " + path("anna.raf") + " of Generated GT"),
            std::string::npos);
  EXPECT_EQ(run({"--json", json, "--by", "car", path("anna.raf"), path("other.raf")}), 0) << messages.str();
  EXPECT_EQ(run({"--json", json, path("anna.raf"), "--vs", path("other.raf")}), 0) << messages.str();
}

TEST_F(CompareTest, MoreThanFourGroupsAreASessionNotAComparison) {
  std::vector<std::string> args = {"--json", json, "--by", "player"};
  for (const char* name : {"P10", "P2", "P1", "P05", "P3"}) {
    generator::ReplayTexts texts;
    texts.player = name;
    write(std::string(name) + ".raf", generator::exampleCar(), 40, texts);
    args.push_back(path(std::string(name) + ".raf"));
  }
  ASSERT_EQ(run(args), 0) << messages.str();
  const Json s = summary();
  ASSERT_EQ(s["groups"].size(), 5u);
  // In the order of their names, as a reader counts: P2 before P10.
  std::vector<std::string> labels;
  for (const Json& g : s["groups"]) labels.push_back(g["label"]);
  EXPECT_EQ(labels, (std::vector<std::string>{"P1", "P2", "P3", "P05", "P10"}));
  // Each group fitted; none compared with the first; no laps, so no session.
  EXPECT_EQ(s["groups"][4]["wheels"].size(), 4u);
  EXPECT_TRUE(s["differences"].empty());
  EXPECT_TRUE(s["setup_differences"].empty());
  EXPECT_TRUE(s["session"].is_null());
}

TEST_F(CompareTest, ProgressIsDrawnOnATerminalAndClearedAtTheEnd) {
  std::vector<const char*> argv = {"skidlog-report", "--json", json.c_str()};
  const std::string a = path("base1.raf"), b = path("soft1.raf");
  for (const std::string* p : {&a, &b}) argv.push_back(p->c_str());
  std::ostringstream terminal;
  ASSERT_EQ(runReport(argv, out, terminal, true), 0);
  // The progress line, then (these laps have no split times) one message.
  const std::string message = "skidlog-report: " + a + " and " + b +
                              " record no split times, so no lap: left out of the laps and corners.\n";
  const std::string all = terminal.str();
  ASSERT_GT(all.size(), message.size());
  ASSERT_EQ(all.substr(all.size() - message.size()), message);
  const std::string text = all.substr(0, all.size() - message.size());
  EXPECT_EQ(text.rfind("\rskidlog-report: read 0 of 2 replays", 0), 0u);
  EXPECT_NE(text.find("\rskidlog-report: read 2 replays; fitting group 1 of 1"), std::string::npos);
  // Cleared before the message: blanks over the line, and the cursor back at its start.
  const std::size_t lastStart = text.rfind('\r', text.size() - 2);
  EXPECT_EQ(text.substr(lastStart + 1, text.size() - lastStart - 2).find_first_not_of(' '), std::string::npos);
  EXPECT_EQ(text.back(), '\r');
  ASSERT_EQ(run({"--json", json, a, b}), 0);
  EXPECT_EQ(messages.str(), message);
}

TEST_F(CompareTest, EveryMessageBeginsWithTheProgramsName) {
  test::writeFile(*dir_ / "short.raf", std::string(100, 'x'));
  EXPECT_EQ(run({"--json", json, path("short.raf")}), 4);
  EXPECT_EQ(messages.str(), "skidlog-report: Not a replay: " + path("short.raf") +
                                " does not begin with the replay signature LFSRAF.\n");
  const std::string truncated = test::readFile(path("base1.raf"));
  test::writeFile(*dir_ / "cut.raf", truncated.substr(0, 1024 + 192 * 3000 + 50));
  EXPECT_EQ(run({"--json", json, path("cut.raf")}), 0);
  EXPECT_EQ(messages.str().rfind("skidlog-report: Warning: " + path("cut.raf") + " holds 3000 of 6000 sample blocks.\n",
                                 0),
            0u);
  // A file that would load but is no replay (a CSV given by mistake) is
  // refused by name, beside a real replay, and nothing is written.
  test::writeFile(*dir_ / "lap.raf", "time [s], speed [m/s]\n" + truncated.substr(40));
  const std::string page = *dir_ / "page.html";
  EXPECT_EQ(run({"--json", *dir_ / "unsigned.json", "-o", page, path("base1.raf"), path("lap.raf")}), 4);
  EXPECT_EQ(messages.str(), "skidlog-report: Not a replay: " + path("lap.raf") +
                                " does not begin with the replay signature LFSRAF.\n");
  EXPECT_FALSE(std::filesystem::exists(*dir_ / "unsigned.json"));
  EXPECT_FALSE(std::filesystem::exists(page));
  EXPECT_EQ(run({"--json", path("base1.raf"), path("base1.raf")}), 3);
  EXPECT_EQ(messages.str(), "skidlog-report: Output file is the input file: " + path("base1.raf") + ".\n");
}

}  // namespace
}  // namespace skidlog
