// Corner and lap numbers over a few laps, against generated laps of one car
// and driver whose truth is known: laps of one driver split into groups claim
// few differences, a corner taken slower is found with its loss inside its
// interval, one lap stands against a group, and the grip use of a corner
// reads the share of the grip the driver takes it at.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <utility>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "report/cli/report_run.h"
#include "tests/support/temp_dir.h"
#include "tools/generator/circuit.h"
#include "tools/generator/drive.h"
#include "tools/generator/synth.h"

namespace skidlog {
namespace {

using Json = nlohmann::json;

class LapIntervalsTest : public ::testing::Test {
 protected:
  // A whole generated lap of the example car from the line.
  std::string lap(std::uint64_t seed, int slowCorner = -1) {
    generator::LapOptions options;
    options.slowCorner = slowCorner;
    return lap(seed, options, "slow" + std::to_string(slowCorner));
  }
  // A whole lap of `options` (its seed and whole lap set here), named by `what`.
  std::string lap(std::uint64_t seed, generator::LapOptions options, const std::string& what) {
    options.wholeLap = true;
    options.seed = seed;
    const std::vector<std::byte> bytes = generator::generateLap(generator::exampleCar(), options);
    const std::string name = dir / ("lap-" + std::to_string(seed) + "-" + what + ".raf");
    test::writeFile(name, std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    return name;
  }
  // The report's JSON of these groups of laps.
  Json report(const std::vector<std::vector<std::string>>& groups) {
    std::vector<std::string> args = {"skidlog-report", "--json", json};
    for (std::size_t g = 0; g < groups.size(); ++g) {
      if (g > 0) args.push_back("--vs");
      args.insert(args.end(), groups[g].begin(), groups[g].end());
    }
    std::vector<const char*> argv;
    for (const std::string& a : args) argv.push_back(a.c_str());
    std::ostringstream out, messages;
    EXPECT_EQ(runReport(argv, out, messages), 0) << messages.str();
    return Json::parse(test::readFile(json));
  }

  test::TempDir dir;
  std::string json = dir / "report.json";
};

// Studies over many generated laps (the ctest label `study`).
class LapIntervalsStudy : public LapIntervalsTest {};

bool isCorner(const Json& d) { return d["where"].get<std::string>().front() == 'T'; }
bool isClaimed(const Json& d) { return d["verdict"] == "higher" || d["verdict"] == "lower"; }

// How many of a report's corner differences are claimed, of how many.
std::pair<int, int> cornerClaims(const Json& r) {
  int claims = 0, total = 0;
  for (const Json& d : r["differences"]) {
    if (!isCorner(d)) continue;
    ++total;
    claims += isClaimed(d);
  }
  return {claims, total};
}

// Twelve laps of one driver in two splits, two against two and four against
// four, disjoint: each report makes about 680 corner differences, and at most a
// tenth of all of them may be claimed (with nothing to find, a 5 % false
// discovery rate claims next to none: 4 of 1,362 when this was written).
TEST_F(LapIntervalsStudy, LapsOfOneDriverSplitIntoGroupsClaimFewCornerDifferences) {
  std::vector<std::string> laps;
  for (std::uint64_t seed = 1; seed <= 12; ++seed) laps.push_back(lap(seed));
  const auto from = [&laps](std::ptrdiff_t first, std::ptrdiff_t n) {
    return std::vector<std::string>(laps.begin() + first, laps.begin() + first + n);
  };
  int claims = 0, total = 0;
  for (const auto& [first, n] : {std::pair<std::ptrdiff_t, std::ptrdiff_t>{0, 2}, {4, 4}}) {
    const auto [c, t] = cornerClaims(report({from(first, n), from(first + n, n)}));
    claims += c;
    total += t;
  }
  EXPECT_GT(total, 1000);
  EXPECT_LE(claims, total / 10) << claims << " of " << total << " corner differences claimed";
}

// The circuit's corner the report finds as a whole corner: the 30 m hairpin.
int hairpin() {
  const generator::Circuit circuit(generator::Turns::both);
  for (std::size_t c = 0; c < circuit.corners().size(); ++c) {
    if (circuit.corners()[c].radius == 30.0) return static_cast<int>(c);
  }
  return -1;
}

// The report's name of the circuit's hairpin: the corner whose apex lies on it.
std::string hairpinName(const Json& r) {
  const generator::Circuit circuit(generator::Turns::both);
  const generator::Corner arc = circuit.corners()[static_cast<std::size_t>(hairpin())];
  for (const Json& c : r["tracks"][0]["corners"]) {
    const double at = c["apex_m"].get<double>() + generator::lineDistance;
    if (at >= arc.start && at <= arc.end) return c["name"];
  }
  return "";
}

TEST_F(LapIntervalsStudy, ACornerTakenSlowerIsFoundWithItsLossInsideItsInterval) {
  const int slow = hairpin();
  ASSERT_GE(slow, 0);
  std::vector<std::string> normal, slowed, sameSeeds;
  for (std::uint64_t seed = 21; seed <= 23; ++seed) {
    slowed.push_back(lap(seed, slow));
    sameSeeds.push_back(lap(seed));
    normal.push_back(lap(seed + 3));
  }
  // The slowed laps against other laps, and the same seeds driven normally:
  // their pairs give the loss the slower corner truly costs.
  const Json r = report({normal, slowed, sameSeeds});
  const Json& corners = r["tracks"][0]["corners"];
  std::string where;
  double loss = 0.0;
  for (const Json& c : corners) {
    double slowTime = 0.0, sameTime = 0.0;
    for (const Json& l : c["laps"]) {
      const std::string file = l["file"];
      for (std::size_t k = 0; k < 3; ++k) {
        if (file == slowed[k]) slowTime += l["time_s"].get<double>() / 3.0;
        if (file == sameSeeds[k]) sameTime += l["time_s"].get<double>() / 3.0;
      }
    }
    if (slowTime - sameTime > loss) {
      loss = slowTime - sameTime;
      where = c["name"];
    }
  }
  ASSERT_GT(loss, 0.1);
  int others = 0;
  bool found = false;
  for (const Json& d : r["differences"]) {
    if (d["to"] != r["groups"][1]["label"] || d["quantity"] != "corner_time_s") continue;
    if (d["where"] == where) {
      found = true;
      EXPECT_EQ(d["verdict"], "higher");
      EXPECT_LE(d["ci"][0].get<double>(), loss);
      EXPECT_GE(d["ci"][1].get<double>(), loss);
    } else {
      others += isClaimed(d);
    }
  }
  EXPECT_TRUE(found) << where;
  EXPECT_LE(others, 2);
}

TEST_F(LapIntervalsTest, OneLapStandsAgainstAGroupWithTheGroupsSpread) {
  std::vector<std::string> group;
  for (std::uint64_t seed = 32; seed <= 35; ++seed) group.push_back(lap(seed));
  const Json r = report({{lap(31)}, group});
  const auto [claims, total] = cornerClaims(r);
  EXPECT_GT(total, 40);
  EXPECT_LE(claims, total / 10);
  for (const Json& d : r["differences"]) {
    if (!d["curve"].is_null() || d["where"] == "balance") continue;
    ASSERT_TRUE(d["ci"].is_array() || d["verdict"] == "below the resolution") << d["where"] << " " << d["quantity"];
    ASSERT_GE(d["notes"].size(), 1u);  // and below the resolution, where it is
    EXPECT_NE(d["notes"][0].get<std::string>().find("one lap against 4"), std::string::npos);
  }
  const Json& groups = r["tracks"][0]["groups"];
  EXPECT_TRUE(groups[0]["lap_time_s_ci"].is_null());
  EXPECT_TRUE(groups[1]["lap_time_s_ci"].is_array());
  EXPECT_EQ(groups[1]["lap_time_s_laps"], 4);
}

// The share of the car's cornering limit a generated lap of `seed` takes
// around each apex (the report's apex window), from its own motion: its
// lateral acceleration v^2 k over the limit's; NaN where the car brakes or
// drives there by more than 0.1 g on average (an axle's longitudinal share
// of its grip then depends on the brake balance and the driven wheels).
std::vector<double> trueShares(std::uint64_t seed, const Json& corners) {
  const generator::CarSetup car = generator::exampleCar();
  const generator::Circuit circuit(generator::Turns::both);
  generator::DriveOptions options;
  options.wholeLap = true;
  options.seed = seed;
  std::vector<double> distance;
  const std::vector<generator::CarState> states = generator::drive(car, circuit, options, &distance);
  const double limit = generator::corneringLimit(car).lateralAcceleration;
  std::vector<double> shares;
  for (const Json& c : corners) {
    const double apex = c["apex_m"].get<double>();
    const double half = std::max(10.0, 0.15 * (c["end_m"].get<double>() - c["start_m"].get<double>()));
    double lateral = 0.0, longitudinal = 0.0;
    int n = 0;
    for (std::size_t i = 0; i < states.size(); ++i) {
      if (std::fabs(distance[i] - apex) > half) continue;
      const double v = states[i].speed;
      const std::size_t before = i == 0 ? 0 : i - 1, after = std::min(i + 1, states.size() - 1);
      longitudinal += std::fabs(states[after].speed - states[before].speed) /
                      (options.sampleInterval * static_cast<double>(after - before));
      lateral += std::fabs(v * v * circuit.curvature(distance[i] + generator::lineDistance)) / limit;
      ++n;
    }
    const bool steady = n > 0 && longitudinal / n < 0.1 * generator::standardGravity;
    shares.push_back(steady ? lateral / n : std::nan(""));
  }
  return shares;
}

TEST_F(LapIntervalsTest, GripUseReadsTheShareOfTheGripTheLapTakes) {
  std::vector<std::string> laps;
  for (std::uint64_t seed = 41; seed <= 43; ++seed) laps.push_back(lap(seed));
  const Json r = report({laps});
  const Json& corners = r["tracks"][0]["corners"];
  // The driver holds the axle that gives up first beyond its peak in the
  // corners he pushes, where its grip falls again: the other axle's grip
  // follows the car's cornering share.
  const char* key = generator::corneringLimit(generator::exampleCar()).frontFirst ? "rear_use" : "front_use";
  for (std::size_t k = 0; k < laps.size(); ++k) {
    const std::vector<double> truth = trueShares(41 + k, corners);
    std::vector<double> read;
    for (const Json& c : corners) read.push_back(c["laps"][k][key].get<double>());
    // The fastest corners: those taken at the limit.
    double truthAtLimit = 0.0, readAtLimit = 0.0;
    int atLimit = 0;
    for (std::size_t c = 0; c < corners.size(); ++c) {
      if (!(truth[c] >= 0.98)) continue;
      truthAtLimit += truth[c];
      readAtLimit += read[c];
      ++atLimit;
    }
    ASSERT_GE(atLimit, 3);
    int compared = 0;
    for (std::size_t c = 0; c < corners.size(); ++c) {
      EXPECT_GT(read[c], 0.3);
      EXPECT_LT(read[c], 1.05);
      if (std::isnan(truth[c])) continue;
      ++compared;
      EXPECT_NEAR(read[c] / readAtLimit * atLimit, truth[c] / truthAtLimit * atLimit, 0.05)
          << corners[c]["name"] << " of lap " << k;
    }
    EXPECT_GE(compared, 7);  // of the circuit's nine corners the reference does not take flat
  }
}

TEST_F(LapIntervalsTest, SegmentsAddUpToTheDeltaAtTheLineAndMakeTheBestLap) {
  std::vector<std::string> laps;
  for (std::uint64_t seed = 61; seed <= 63; ++seed) laps.push_back(lap(seed));
  laps.push_back(lap(64, hairpin()));
  const Json r = report({laps});
  const Json& track = r["tracks"][0];
  double fastest = 1e9;
  for (std::size_t l = 0; l < track["laps"].size(); ++l) {
    double sum = 0.0, time = 0.0;
    for (const Json& c : track["corners"]) {
      const Json& lap = c["laps"][l];
      sum += lap["segment_delta_s"].get<double>();
      time += lap["segment_time_s"].get<double>();
      EXPECT_NEAR(lap["entry_delta_s"].get<double>() + lap["exit_delta_s"].get<double>(),
                  lap["segment_delta_s"].get<double>(), 1e-9);
    }
    // Every complete lap gives every segment, and they make its lap time.
    EXPECT_NEAR(sum, track["laps"][l]["delta_at_line_s"].get<double>(), 1e-9);
    EXPECT_NEAR(time, track["laps"][l]["lap_time_s"].get<double>(), 1e-9);
    fastest = std::min(fastest, track["laps"][l]["lap_time_s"].get<double>());
  }
  const Json& best = track["best_laps"][0];
  double segments = 0.0;
  for (const Json& b : best["best_segments"]) segments += b["time_s"].get<double>();
  EXPECT_NEAR(best["best_lap_s"].get<double>(), segments, 1e-9);
  EXPECT_LE(best["best_lap_s"].get<double>(), fastest + 1e-9);
}

// The differences of `quantity` at each corner between the first two groups.
std::vector<Json> differencesOf(const Json& r, const std::string& quantity) {
  std::vector<Json> out;
  for (const Json& d : r["differences"]) {
    if (d["quantity"] == quantity && isCorner(d)) out.push_back(d);
  }
  return out;
}

TEST_F(LapIntervalsStudy, LateBrakingIsFoundAtItsCornerByTheMetresItMoved) {
  generator::LapOptions late;
  late.lateBrakeCorner = hairpin();
  late.lateBrakeMetres = 12.0;
  std::vector<std::string> normal, later;
  for (std::uint64_t seed = 71; seed <= 73; ++seed) {
    later.push_back(lap(seed, late, "late"));
    normal.push_back(lap(seed + 3));
  }
  const Json r = report({normal, later});
  const std::string where = hairpinName(r);
  int found = 0, others = 0;
  for (const Json& d : differencesOf(r, "brake_m")) {
    if (d["where"] != where) {
      others += isClaimed(d);
      continue;
    }
    ++found;
    EXPECT_EQ(d["verdict"], "higher");
    EXPECT_NEAR(d["delta"].get<double>(), 12.0, 2.0);
  }
  EXPECT_EQ(found, 1);
  EXPECT_LE(others, 1);
  // The finding of that corner says it in words.
  ASSERT_EQ(r["findings"].size(), 1u);
  bool said = false;
  for (const Json& f : r["findings"][0]["corners"]) {
    if (f["corner"] != where) continue;
    const std::string sentence = f["sentence"];
    said = sentence.find(" gains ") != std::string::npos && sentence.find("brakes 12 m later (") != std::string::npos;
    EXPECT_TRUE(said) << sentence;
  }
  EXPECT_TRUE(said);
  // In too fast, the late braker gains on the way in and loses on the way out.
  for (const Json& d : differencesOf(r, "exit_delta_s")) {
    if (d["where"] == where) {
      EXPECT_EQ(d["verdict"], "higher");
    }
  }
  for (const Json& d : differencesOf(r, "entry_delta_s")) {
    if (d["where"] == where) {
      EXPECT_EQ(d["verdict"], "lower");
    }
  }
}

TEST_F(LapIntervalsStudy, AWiderLineIsFoundAtItsApex) {
  generator::LapOptions wide;
  wide.wideCorner = hairpin();
  wide.wideMetres = 3.0;
  std::vector<std::string> normal, wider;
  for (std::uint64_t seed = 81; seed <= 83; ++seed) {
    wider.push_back(lap(seed, wide, "wide"));
    normal.push_back(lap(seed + 3));
  }
  const Json r = report({normal, wider});
  int found = 0;
  for (const Json& d : differencesOf(r, "line_apex_m")) {
    if (!isClaimed(d)) continue;
    ++found;
    EXPECT_EQ(d["where"], hairpinName(r));
    EXPECT_EQ(d["verdict"], "lower");  // outward: away from the inside
    EXPECT_NEAR(d["delta"].get<double>(), -3.0, 0.5);
  }
  EXPECT_EQ(found, 1);
}

// A copy of a replay recorded every 100 ms: every tenth sample block of a
// 10 ms replay, its interval byte 100, its split times kept.
std::string coarseCopy(const std::string& replay, const std::string& copy) {
  constexpr std::size_t headerBytes = 1024, blockBytes = 192;
  const std::string bytes = test::readFile(replay);
  std::string out = bytes.substr(0, headerBytes);
  std::int32_t blocks = 0;
  for (std::size_t at = headerBytes; at + blockBytes <= bytes.size(); at += 10 * blockBytes, ++blocks) {
    out += bytes.substr(at, blockBytes);
  }
  out[9] = static_cast<char>(100);
  std::memcpy(out.data() + 20, &blocks, sizeof blocks);
  test::writeFile(copy, out);
  return copy;
}

TEST_F(LapIntervalsTest, ALapAgainstItsOwnCopyAtATenthOfTheRateDiffersInNothing) {
  const std::string fine = lap(51);
  const Json r = report({{fine}, {coarseCopy(fine, dir / "coarse.raf")}});
  EXPECT_EQ(r["groups"][0]["sample_interval_s"], Json::array({0.01}));
  EXPECT_EQ(r["groups"][1]["sample_interval_s"], Json::array({0.1}));
  EXPECT_EQ(r["tracks"][0]["groups"][1]["sample_interval_s"], Json::array({0.1}));
  for (const Json& d : r["differences"]) {
    EXPECT_FALSE(isClaimed(d)) << d["where"] << " " << d["curve"] << " " << d["quantity"];
    if ((d["curve"] == "longitudinal" && d["quantity"] == "cornering_stiffness") || d["quantity"] == "load_sensitivity") {
      EXPECT_EQ(d["verdict"], "not comparable");
    }
  }
}

}  // namespace
}  // namespace skidlog

namespace skidlog {
namespace {

// The findings of the first comparison: each corner's time difference and
// verdict, in their order.
std::vector<std::pair<std::string, std::pair<double, std::string>>> findingCorners(const Json& r) {
  std::vector<std::pair<std::string, std::pair<double, std::string>>> out;
  for (const Json& c : r["findings"][0]["corners"]) {
    out.push_back({c["corner"], {c["time_lost_s"].get<double>(), c["verdict"]}});
  }
  return out;
}

// Read either way round, a comparison mirrors every corner's time difference
// and verdict, opens with the largest differences whichever side gains, and
// claims nothing from an interval of no width or from pedals at their limit.
TEST_F(LapIntervalsStudy, AComparisonReadEitherWayMirrorsAndOpensWithTheLargest) {
  std::vector<std::string> normal, slowed;
  for (std::uint64_t seed = 81; seed <= 82; ++seed) {
    normal.push_back(lap(seed));
    slowed.push_back(lap(seed + 2, hairpin()));
  }
  const Json ab = report({normal, slowed}), ba = report({slowed, normal});
  const auto x = findingCorners(ab), y = findingCorners(ba);
  ASSERT_EQ(x.size(), y.size());
  for (std::size_t k = 0; k < x.size(); ++k) {
    EXPECT_EQ(x[k].first, y[k].first);
    EXPECT_NEAR(x[k].second.first, -y[k].second.first, 1e-9) << x[k].first;
    const std::string v = x[k].second.second;
    EXPECT_EQ(y[k].second.second, v == "higher" ? "lower" : v == "lower" ? "higher" : v) << x[k].first;
    if (k > 0) {
      EXPECT_GE(std::fabs(x[k - 1].second.first), std::fabs(x[k].second.first));
    }
  }
  // The slowed laps lose most at the hairpin; read the other way, they gain it.
  EXPECT_EQ(x.front().first, hairpinName(ab));
  const std::string sentence = ba["findings"][0]["corners"][0]["sentence"];
  EXPECT_NE(sentence.find(" gains "), std::string::npos) << sentence;
  for (const Json* r : {&ab, &ba}) {
    for (const Json& d : (*r)["differences"]) {
      if (!isClaimed(d) || d["ci"].is_null()) continue;
      EXPECT_GT(d["ci"][1].get<double>(), d["ci"][0].get<double>()) << d["where"] << " " << d["quantity"];
    }
    for (const Json& c : (*r)["tracks"][0]["corners"]) {
      for (const char* key : {"peak_brake", "coast_s"}) {
        bool allAtLimit = false;
        for (const Json& g : c["groups"]) {
          const Json& v = g[key];
          allAtLimit |= g[std::string(key) + "_laps"] == 2 && g[std::string(key) + "_ci"].is_array() &&
                        g[std::string(key) + "_ci"][0] == g[std::string(key) + "_ci"][1] &&
                        (v == 1.0 || v == 0.0);
        }
        if (!allAtLimit) continue;
        for (const Json& d : (*r)["differences"]) {
          if (d["where"] == c["name"] && d["quantity"] == key) {
            EXPECT_FALSE(isClaimed(d)) << key;
          }
        }
      }
    }
  }
  // Generated laps fold the corners they take without coasting (flat
  // sweepers) into the corners before them, so none may be at a limit here:
  // OverLaps.PedalsAtTheirLimitAreNotComparable holds the limit itself.
}

}  // namespace
}  // namespace skidlog
