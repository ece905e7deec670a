// Generated laps of two setups: the report reads each setup back, groups by
// it, names what differs, and keeps the gearbox and the tyre type from being
// read as the driver's or the tyres' own doing.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "tests/support/report_json.h"
#include "tests/support/temp_dir.h"
#include "tools/generator/car.h"

namespace skidlog {
namespace {

using Json = nlohmann::json;

class SetupReportTest : public ::testing::Test {
 protected:
  // A whole lap of the example car, on hybrid tyres with a final drive of 3
  // where `other`.
  std::string lap(std::uint64_t seed, bool other) {
    generator::CarSetup car = generator::exampleCar();
    if (other) {
      car.tyreType = 6;
      car.finalDrive = 3.0;
    }
    generator::LapOptions options;
    options.wholeLap = true;
    options.seed = seed;
    return test::writeLap(dir / ("lap-" + std::to_string(seed) + (other ? "-other" : "") + ".raf"), car, options);
  }
  Json report(const std::vector<std::string>& args) { return test::reportJson(json, args); }

  test::TempDir dir;
  std::string json = dir / "report.json";
};

TEST_F(SetupReportTest, SetupsAreReadGroupedAndTheirDifferencesNamed) {
  const std::string a1 = lap(31, false), a2 = lap(32, false), b1 = lap(33, true), b2 = lap(34, true);
  const Json r = report({"--by", "setup", a1, b1, a2, b2});
  ASSERT_EQ(r["groups"].size(), 2u);
  EXPECT_EQ(r["groups"][0]["label"], "road normal, final 4");
  EXPECT_EQ(r["groups"][1]["label"], "hybrid, final 3");
  const Json& setup = r["groups"][1]["replays"][0]["setup"];
  EXPECT_EQ(setup["wheels"]["RL"]["tyre"], "hybrid");
  EXPECT_EQ(setup["wheels"]["FR"]["spring_n_per_m"], 35000.0);
  EXPECT_EQ(setup["final_drive"], 3.0);
  EXPECT_EQ(setup["gear_ratios"].size(), 6u);
  std::set<std::pair<std::string, std::string>> differ;
  for (const Json& d : r["setup_differences"]) differ.insert({d["where"].get<std::string>(), d["quantity"].get<std::string>()});
  EXPECT_EQ(differ, (std::set<std::pair<std::string, std::string>>{
                        {"front", "tyre"}, {"rear", "tyre"}, {"car", "final_drive"}}));
  // The gear at the slowest point is the gearbox's: never claimed across
  // gearboxes. The engine speed is compared at every corner instead, and reads
  // the ratio of the final drives (3 against 4).
  std::size_t rpm = 0;
  for (const Json& d : r["differences"]) {
    if (d["quantity"] == "gear_min") {
      EXPECT_EQ(d["verdict"], "not comparable");
    }
    rpm += d["quantity"] == "rpm_min";
  }
  EXPECT_EQ(rpm, r["tracks"][0]["corners"].size());
  for (const Json& c : r["tracks"][0]["corners"]) {
    const Json& groups = c["groups"];
    EXPECT_NEAR(groups[1]["rpm_min"].get<double>() / groups[0]["rpm_min"].get<double>(), 0.75, 0.05) << c["name"];
  }
  // Every tyre difference names both tyre types.
  for (const Json& d : r["differences"]) {
    if (d["curve"].is_null()) continue;
    bool named = false;
    for (const Json& n : d["notes"]) named |= n.get<std::string>().find("road normal against hybrid") != std::string::npos;
    EXPECT_TRUE(named) << d["where"] << " " << d["quantity"];
  }
  // One setup split in two groups differs in nothing.
  EXPECT_TRUE(report({a1, "--vs", a2})["setup_differences"].empty());
}

}  // namespace
}  // namespace skidlog
