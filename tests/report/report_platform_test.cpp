// The car's platform read back from generated laps whose roll, load transfer
// and travel are known: the numbers within their tolerances, a changed front
// share found alone, one setup split into groups claiming nothing, the end of
// the travel found, and the dampers measured only where the samples allow.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "tests/support/replay_builder.h"
#include "tests/support/report_json.h"
#include "tests/support/temp_dir.h"

namespace skidlog {
namespace {

using Json = nlohmann::json;

const std::vector<std::string> wheels = {"FL", "FR", "RL", "RR"};

class PlatformReportTest : public ::testing::Test {
 protected:
  std::string lap(std::uint64_t seed, double frontShare, double travel = 0.10, double interval = 0.01) {
    generator::CarSetup car = generator::exampleCar();
    car.frontRollShare = frontShare;
    car.rollGradient = 1.5;
    car.travel = travel;
    generator::LapOptions options;
    options.wholeLap = true;
    options.seed = seed;
    options.sampleInterval = interval;
    return test::writeLap(dir / ("lap-" + std::to_string(seed) + ".raf"), car, options);
  }
  Json report(const std::vector<std::string>& args) { return test::reportJson(dir / "report.json", args); }

  test::TempDir dir;
};

// The whole lap's platform numbers (a corner phase's are its corner's).
bool platformDifference(const Json& d) {
  return !d.contains("phase") &&
         (d["where"] == "platform" || d["quantity"] == "travel_used" || d["quantity"] == "at_travel_end_s");
}
bool claimed(const Json& d) { return d["verdict"] == "higher" || d["verdict"] == "lower"; }

// A study over many generated laps (the ctest label `study`).
class PlatformReportStudy : public PlatformReportTest {};

TEST_F(PlatformReportStudy, ReadsBackTheRollAndFrontShareAndFindsAChangedShareAlone) {
  const std::string a1 = lap(41, 0.55), a2 = lap(42, 0.55), a3 = lap(43, 0.55);
  const std::string b1 = lap(44, 0.65), b2 = lap(45, 0.65);
  const Json r = report({a1, a2, "--vs", b1, b2});
  const double truth[] = {0.55, 0.65};
  for (std::size_t g = 0; g < 2; ++g) {
    const Json& p = r["groups"][g]["platform"];
    EXPECT_NEAR(p["lltd_front"].get<double>(), truth[g], 0.02);
    EXPECT_NEAR(p["roll_gradient_deg_per_g"].get<double>(), 1.5, 0.05 * 1.5);
    EXPECT_NEAR(p["pitch_gradient_deg_per_g"].get<double>(), -0.8, 0.05 * 0.8);
    for (const char* key : {"roll_gradient_deg_per_g", "lltd_front", "pitch_gradient_deg_per_g"}) {
      EXPECT_EQ(p[std::string(key) + "_laps"], 2) << key;
      EXPECT_LE(p[std::string(key) + "_ci"][0].get<double>(), p[key].get<double>()) << key;
      EXPECT_GE(p[std::string(key) + "_ci"][1].get<double>(), p[key].get<double>()) << key;
    }
  }
  std::size_t compared = 0;
  for (const Json& d : r["differences"]) {
    if (!platformDifference(d)) continue;
    ++compared;
    if (d["quantity"] == "lltd_front") {
      EXPECT_EQ(d["verdict"], "higher");
      EXPECT_NEAR(d["delta"].get<double>(), 0.10, 0.02);
    } else {
      EXPECT_FALSE(claimed(d)) << d["where"] << " " << d["quantity"];
    }
  }
  EXPECT_EQ(compared, 3u + 2u * wheels.size());
  // The replays record the bars that set the share: stiffer at the front,
  // softer at the rear, and nothing else of the setup differs.
  std::vector<std::string> setup;
  for (const Json& d : r["setup_differences"]) {
    setup.push_back(d["quantity"]);
    const double from = d["from_value"].get<double>(), to = d["to_value"].get<double>();
    if (d["quantity"] == "anti_roll_front") {
      EXPECT_GT(to, from);
    } else if (d["quantity"] == "anti_roll_rear") {
      EXPECT_LT(to, from);
    }
  }
  EXPECT_EQ(setup, (std::vector<std::string>{"anti_roll_front", "anti_roll_rear"}));
  // One setup split into groups: one lap against two, and one against one
  // (each lap's own resamples) claim nothing.
  for (const std::vector<std::string>& args : {std::vector<std::string>{a1, "--vs", a2, a3}, {a2, "--vs", a3}}) {
    const Json split = report(args);
    for (const Json& d : split["differences"]) {
      if (platformDifference(d)) {
        EXPECT_FALSE(claimed(d)) << d["where"] << " " << d["quantity"];
      }
    }
  }
}

TEST_F(PlatformReportTest, FindsTheEndOfTheTravelAndMeasuresDampersOnlyWhereTheSamplesAllow) {
  const Json shortTravel = report({lap(51, 0.55, 0.07)})["platform"];
  for (const std::string& w : wheels) {
    EXPECT_GE(shortTravel["travel_used"][w].get<double>(), 0.98) << w;
    EXPECT_LE(shortTravel["travel_used"][w].get<double>(), 1.0) << w;
    EXPECT_GT(shortTravel["at_travel_end_s"][w].get<double>(), 0.5) << w;
  }
  const Json fine = report({lap(52, 0.55)})["platform"];
  ASSERT_TRUE(fine["damper"].is_object());
  for (const std::string& w : wheels) {
    EXPECT_LT(fine["travel_used"][w].get<double>(), shortTravel["travel_used"][w].get<double>() + 1e-9) << w;
    const Json& d = fine["damper"][w];
    ASSERT_EQ(d["edges_mm_s"].size(), d["share"].size() + 1) << w;
    EXPECT_TRUE(d["edges_mm_s"].front().is_null());
    EXPECT_TRUE(d["edges_mm_s"].back().is_null());
    double shares = 0.0;
    for (const Json& s : d["share"]) shares += s.get<double>();
    EXPECT_NEAR(shares, 1.0, 1e-12) << w;
    double quadrants = 0.0;
    for (const char* q : {"bump_slow", "bump_fast", "rebound_slow", "rebound_fast"}) {
      quadrants += d[q].get<double>();
      EXPECT_TRUE(d[std::string(q) + "_ci"].is_array()) << w << " " << q;
    }
    EXPECT_NEAR(quadrants, 1.0, 1e-12) << w;
  }
  const Json coarse = report({lap(53, 0.55, 0.10, 0.1)})["platform"];
  EXPECT_TRUE(coarse["damper"].is_null());
  ASSERT_FALSE(coarse["notes"].empty());
  EXPECT_NE(coarse["notes"][0].get<std::string>().find("100 ms"), std::string::npos);
  // The roll and the share need no damper: they are read at 100 ms too.
  EXPECT_NEAR(coarse["lltd_front"].get<double>(), 0.55, 0.02);
  EXPECT_NEAR(coarse["roll_gradient_deg_per_g"].get<double>(), 1.5, 0.05 * 1.5);
}

// Every platform number of a report: null, or a finite number (the JSON
// writes a non-finite one as null, so this is its range and its form).
void expectSound(const Json& platform) {
  for (const char* key : {"roll_gradient_deg_per_g", "lltd_front", "pitch_gradient_deg_per_g"}) {
    EXPECT_TRUE(platform[key].is_null() || platform[key].is_number()) << key;
  }
  for (const std::string& w : wheels) {
    const Json& used = platform["travel_used"][w];
    EXPECT_TRUE(used.is_null() || (used.get<double>() >= -1.0 && used.get<double>() <= 1e6)) << w;
  }
}

TEST_F(PlatformReportTest, DamagedGeometryTravelAndSamplesGiveNotesNotNumbers) {
  // Straight driving, all wheels at one side-to-side offset (no track to roll
  // over), the travel recorded as 0 on two wheels and as a denormal on the
  // others, and deflections of NaN, infinity and 1e30 among the samples.
  test::ReplayBuilder b = test::drivingReplay(900);
  for (int w = 0; w < 4; ++w) {
    b.geometry(w, 0.0f, w < 2 ? 1.05f : -1.35f, 0.15f, 0.3f);
    b.put<float>(512 + 128 * static_cast<std::size_t>(w) + 20, w < 2 ? 0.0f : 1e-40f);
  }
  const float hostile[] = {std::nanf(""), INFINITY, 1e30f, -1e30f};
  for (int i = 100; i < 900; i += 37) {
    b.put<float>(test::ReplayBuilder::wheel(i, i % 4), hostile[i % 4]);
  }
  const std::string path = dir / "damaged.raf";
  test::writeFile(path, b.text());
  const Json p = report({path})["platform"];
  expectSound(p);
  EXPECT_TRUE(p["roll_gradient_deg_per_g"].is_null());
  EXPECT_TRUE(p["pitch_gradient_deg_per_g"].is_null());
  for (const std::string& w : wheels) EXPECT_TRUE(p["travel_used"][w].is_null()) << w;
  const std::string notes = p["notes"].dump();
  EXPECT_NE(notes.find("tracks and wheelbase"), std::string::npos) << notes;
  EXPECT_NE(notes.find("travel"), std::string::npos) << notes;
  // The same replay with a sound travel: the wheel with a deflection of 1e30
  // uses its travel 1e30 / 0.1 times over, kept as the float range allows.
  for (int w = 0; w < 4; ++w) b.put<float>(512 + 128 * static_cast<std::size_t>(w) + 20, 0.1f);
  test::writeFile(path, b.text());
  expectSound(report({path})["platform"]);
}

}  // namespace
}  // namespace skidlog
