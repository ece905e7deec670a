// A session of drivers of known pace (make_replay --pace): ranked in their
// true order with ranges and gaps that hold the truth, laps left out with
// their reasons, a driver slow at one corner found there and nowhere else.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "tests/support/report_json.h"
#include "tests/support/temp_dir.h"

namespace skidlog {
namespace {

using Json = nlohmann::json;

// A club session's lap-to-lap spread, s.
constexpr double spread = 0.4;

class SessionTest : public ::testing::Test {
 protected:
  // `laps` whole laps of a driver of `pace`, seeds from `seed`.
  std::vector<std::string> driver(const std::string& name, double pace, int laps, std::uint64_t seed,
                                  int slowCorner = -1, double consistency = spread) {
    std::vector<std::string> out;
    for (int k = 0; k < laps; ++k) {
      generator::LapOptions o;
      o.wholeLap = true;
      o.consistency = consistency;
      o.pace = pace;
      o.slowCorner = slowCorner;
      o.seed = seed + static_cast<std::uint64_t>(k);
      o.texts.player = name;
      out.push_back(test::writeLap(dir / (name + "-" + std::to_string(k) + ".raf"), generator::exampleCar(), o));
    }
    return out;
  }

  Json session(const std::vector<std::string>& files) {
    std::vector<std::string> args = {"--by", "player"};
    args.insert(args.end(), files.begin(), files.end());
    return test::reportJson(json, args)["session"];
  }

  const Json& group(const Json& s, const std::string& label) {
    for (const Json& g : s["groups"]) {
      if (g["label"] == label) return g;
    }
    throw std::runtime_error("no group " + label);
  }

  test::TempDir dir;
  std::string json = dir / "report.json";
};

// Driver d's name: "d0", "d1", ...
std::string named(std::size_t d) { return std::string(1, 'd').append(std::to_string(d)); }

bool holds(const Json& ci, double v) { return ci[0].get<double>() <= v && v <= ci[1].get<double>(); }

// Studies over many generated laps (the ctest label `study`).
class SessionStudy : public SessionTest {};

TEST_F(SessionStudy, AFieldOfKnownPaceIsRankedInItsOrderWithRangesAndGapsThatHoldIt) {
  // Eight drivers 0 to 5 % apart, four laps each, and one who varies a lot.
  const std::vector<double> paces = {1.0, 0.993, 0.986, 0.979, 0.972, 0.965, 0.958, 0.95};
  std::vector<std::string> files;
  for (std::size_t d = 0; d < paces.size(); ++d) {
    const std::vector<std::string> laps = driver(named(d), paces[d], 4, 10001 + 100 * d);
    files.insert(files.end(), laps.begin(), laps.end());
  }
  const std::vector<std::string> wild = driver("wild", 0.985, 4, 10900, -1, 1.5);
  files.insert(files.end(), wild.begin(), wild.end());
  // A copy of the fastest driver's lap that stops half way.
  const std::string whole = test::readFile(files.front());
  const std::string cut = dir / "d0-cut.raf";
  // The header and the first 3000 of its samples.
  test::writeFile(cut, whole.substr(0, 1024 + 192 * 3000));
  files.push_back(cut);
  const Json s = session(files);
  ASSERT_EQ(s["groups"].size(), paces.size() + 1);
  // A driver's true mean lap is the fastest's at full pace over his pace;
  // that, at this spread, is 76.1 s (sixty laps).
  constexpr double fullPace = 76.1;
  const std::string fastest = s["fastest"];
  ASSERT_EQ(fastest[0], 'd');
  const double fastestTrue = fullPace / paces[static_cast<std::size_t>(fastest[1] - '0')];
  const double wildPace = group(s, "wild")["pace_s"];
  std::size_t outOfRange = 0, gapMissed = 0;
  for (std::size_t d = 0; d < paces.size(); ++d) {
    const Json& g = group(s, named(d));
    EXPECT_EQ(g["valid_laps"], 4);
    const double truth = fullPace / paces[d];
    const std::size_t trueRank = d + 1 + (wildPace < truth ? 1 : 0);
    const auto range = g["rank_range"].get<std::vector<std::size_t>>();
    outOfRange += (range[0] > trueRank || range[1] < trueRank) ? 1u : 0u;
    gapMissed += holds(g["gap_ci"], truth - fastestTrue) ? 0u : 1u;
    // Drivers 2 % or more apart: in their order, their ranges apart.
    for (std::size_t e = d + 1; e < paces.size(); ++e) {
      if (paces[d] - paces[e] < 0.02 - 1e-9) continue;
      const Json& h = group(s, named(e));
      EXPECT_LT(g["rank"].get<int>(), h["rank"].get<int>()) << d << " " << e;
      EXPECT_LT(range[1], h["rank_range"][0].get<std::size_t>()) << d << " " << e;
    }
  }
  EXPECT_LE(outOfRange, 1u);
  EXPECT_LE(gapMissed, 1u);
  EXPECT_TRUE(holds(group(s, "wild")["consistency_ci"], 1.5));
  // The half lap left out of the fastest driver's pace, with its reason.
  const Json& first = group(s, "d0");
  ASSERT_EQ(first["left_out"].size(), 1u);
  EXPECT_EQ(first["left_out"][0]["file"], cut);
  EXPECT_EQ(first["left_out"][0]["reason"].get<std::string>().rfind("incomplete", 0), 0u);
  EXPECT_EQ(group(s, fastest)["gap_s"], 0.0);
  // The slowest driver is slower than the fastest in most corners, each
  // claimed cell's interval leaving zero out.
  std::size_t slowerCells = 0;
  for (const Json& c : s["corners"]) {
    if (c["label"] != "d7" || c["verdict"] != "higher") continue;
    ++slowerCells;
    EXPECT_GT(c["ci"][0].get<double>(), 0.0);
  }
  EXPECT_GE(slowerCells, 6u);
  // Nine drivers: the faster third is three, compared corner by corner.
  EXPECT_EQ(s["faster_third"].size(), 3u);
  EXPECT_FALSE(s["fast_gain"].empty());
}

TEST_F(SessionStudy, ADriverSlowAtOneCornerIsClaimedThereAndAlmostNowhereElse) {
  std::vector<std::string> files = driver("even", 1.0, 3, 201);
  // Slower through the circuit's fifth corner: the report's T2, and T3 that
  // follows it close.
  const std::vector<std::string> slow = driver("slow", 1.0, 3, 251, 4);
  files.insert(files.end(), slow.begin(), slow.end());
  const Json s = session(files);
  const std::string slower = s["fastest"] == "even" ? "slow" : "even";
  std::size_t claimedElsewhere = 0;
  bool claimedThere = false;
  for (const Json& c : s["corners"]) {
    if (c["label"] != slower || (c["verdict"] != "higher" && c["verdict"] != "lower")) continue;
    if (c["corner"] == "T2") {
      claimedThere = true;
    } else {
      ++claimedElsewhere;
    }
  }
  EXPECT_TRUE(claimedThere);
  EXPECT_LE(claimedElsewhere, 1u);
}

TEST_F(SessionTest, OneDriverIsASessionOfHisLaps) {
  std::vector<std::string> files = driver("solo", 1.0, 4, 21);
  // A lap with a spin: far off his pace, left out of it.
  generator::LapOptions o;
  o.wholeLap = true;
  o.pace = 0.85;
  o.seed = 29;
  o.texts.player = "solo";
  files.push_back(test::writeLap(dir / "spin.raf", generator::exampleCar(), o));
  const Json s = session(files);
  const Json& g = s["groups"][0];
  EXPECT_EQ(g["valid_laps"], 4);
  ASSERT_EQ(g["left_out"].size(), 1u);
  EXPECT_EQ(g["left_out"][0]["reason"].get<std::string>().rfind("slow: ", 0), 0u);
  EXPECT_EQ(g["rank"], 1);
  EXPECT_EQ(g["rank_range"], Json::array({1, 1}));
  EXPECT_TRUE(holds(g["consistency_ci"], spread));
  EXPECT_TRUE(holds(g["pace_ci"], g["pace_s"].get<double>()));
  EXPECT_EQ(g["varies_most"].size(), 3u);
}

}  // namespace
}  // namespace skidlog
