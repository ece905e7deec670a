// A corner's phases on generated laps: three on every lap through a corner,
// in order and within it, at 10 and 100 ms, and the balance keys read from
// them.
#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "report/laps/lap_analysis.h"
#include "report/laps/phases/corner_phases.h"
#include "tests/support/report_json.h"

namespace skidlog {
namespace {

using Json = nlohmann::json;

class PhasesTest : public ::testing::Test {
 protected:
  std::string lap(const std::string& name, std::uint64_t seed, double frontShare, double interval = 0.01,
                  double travel = 0.10) {
    generator::CarSetup car = generator::exampleCar();
    car.frontRollShare = frontShare;
    car.travel = travel;
    generator::LapOptions options;
    options.wholeLap = true;
    options.seed = seed;
    options.sampleInterval = interval;
    return test::writeLap(dir / (name + ".raf"), car, options);
  }
  Json corners(const std::vector<std::string>& args) {
    return test::reportJson(dir / "report.json", args)["tracks"][0]["corners"];
  }

  test::TempDir dir;
};

const char* const phases[] = {"entry", "middle", "exit"};

TEST_F(PhasesTest, EveryCornerLapHasThreePhasesInOrderWithinTheCorner) {
  for (const double interval : {0.01, 0.1}) {
    const Json track = test::reportJson(dir / "report.json", {lap("a", 3, 0.55, interval), lap("b", 4, 0.55, interval)})
                           ["tracks"][0];
    const Json& cs = track["corners"];
    ASSERT_GE(cs.size(), 8u);
    bool dampersNoted = false;
    for (const Json& n : track["notes"]) dampersNoted |= n.get<std::string>().starts_with("Damper speeds");
    EXPECT_EQ(dampersNoted, interval > 0.05);
    for (const Json& c : cs) {
      for (const Json& l : c["laps"]) {
        const Json& p = l["phases"];
        SCOPED_TRACE(c["name"].get<std::string>() + " at " + std::to_string(interval) + " s");
        double at = c["start_m"].get<double>();
        for (const char* name : phases) {
          ASSERT_TRUE(p[name]["start_m"].is_number() && p[name]["end_m"].is_number()) << name;
          EXPECT_EQ(p[name]["start_m"].get<double>(), at) << name;
          at = p[name]["end_m"].get<double>();
          EXPECT_GE(at, p[name]["start_m"].get<double>()) << name;
        }
        EXPECT_EQ(at, c["end_m"].get<double>());
        // The middle always holds the corner's slowest point; the balance
        // keys are the phases'.
        EXPECT_GT(p["middle"]["end_m"].get<double>(), p["middle"]["start_m"].get<double>());
        ASSERT_TRUE(p["middle"]["understeer_deg"].is_number());
        EXPECT_EQ(l["understeer_middle_deg"], p["middle"]["understeer_deg"]);
        EXPECT_EQ(l["understeer_entry_deg"], p["entry"]["understeer_deg"]);
        EXPECT_EQ(l["understeer_exit_deg"], p["exit"]["understeer_deg"]);
        // A damper's velocity is measured at 10 ms, not at 100 ms; the time
        // at the end of the travel at both.
        for (const char* w : {"FL", "FR", "RL", "RR"}) {
          EXPECT_EQ(p["middle"]["damper_rms_mm_s"][w].is_number(), interval < 0.05) << w;
          EXPECT_TRUE(p["middle"]["at_travel_end_s"][w].is_number()) << w;
        }
      }
    }
  }
}

TEST_F(PhasesTest, ThePlatformInEachPhaseIsTheCarsOwn) {
  // The generator's car takes the front share of the load transfer it is
  // built with; on a short travel its outside wheels reach their stops in
  // the middle of the corners.
  const Json cs = corners({lap("low", 5, 0.45), "--vs", lap("high", 5, 0.70), "--vs", lap("short", 5, 0.55, 0.01, 0.07)});
  std::size_t corners = 0, stopped = 0;
  for (const Json& c : cs) {
    SCOPED_TRACE(c["name"].get<std::string>());
    const Json& low = c["laps"][0]["phases"]["middle"];
    const Json& high = c["laps"][1]["phases"]["middle"];
    const Json& shortTravel = c["laps"][2]["phases"]["middle"];
    EXPECT_NEAR(low["lltd_front"].get<double>(), 0.45, 0.03);
    EXPECT_NEAR(high["lltd_front"].get<double>(), 0.70, 0.03);
    EXPECT_GT(low["roll_deg"].get<double>(), 0.0);
    const char* outside[] = {c["direction"] == "left" ? "FR" : "FL", c["direction"] == "left" ? "RR" : "RL"};
    double atEnd = 0.0;
    for (const char* w : outside) {
      EXPECT_EQ(low["at_travel_end_s"][w].get<double>(), 0.0) << w;
      atEnd += shortTravel["at_travel_end_s"][w].get<double>();
    }
    ++corners;
    if (atEnd > 0.0) ++stopped;
  }
  EXPECT_GE(2 * stopped, corners) << stopped << " of " << corners;
}

// A study over many generated laps (the ctest label `study`).
class PhasesStudy : public PhasesTest {};

TEST_F(PhasesStudy, GroupsComparePhaseByPhaseInTheirComparisonsFamily) {
  // Two laps at each of two front shares and of a short travel, against
  // two of the base car: the share's difference is the middle's, the stops'
  // the short travel's.
  const Json j = test::reportJson(dir / "report.json",
                                  {lap("base1", 1, 0.45), lap("base2", 2, 0.45), "--vs", lap("high1", 1, 0.70),
                                   lap("high2", 2, 0.70), "--vs", lap("short1", 1, 0.45, 0.01, 0.07),
                                   lap("short2", 2, 0.45, 0.01, 0.07)});
  const Json& cs = j["tracks"][0]["corners"];
  const Json& mid = cs[0]["groups"][1]["phases"]["middle"];
  ASSERT_TRUE(mid["lltd_front_ci"].is_array());
  EXPECT_EQ(mid["lltd_front_laps"], 2);
  EXPECT_TRUE(mid["at_travel_end_s_ci"]["RR"].is_array());
  std::size_t share = 0, stops = 0, phaseNumbers = 0;
  for (const Json& d : j["differences"]) {
    if (!d.contains("phase")) continue;
    ++phaseNumbers;
    const bool claimed = d["verdict"] == "higher" || d["verdict"] == "lower";
    // Each phase number is in its comparison's family: a claimed interval
    // leaves zero out, an unclaimed one holds it.
    const bool inFamily = d["notes"].empty() || d["notes"].back() != "smaller than the quantity's resolution";
    if (d["ci"].is_array() && d["verdict"] != "not comparable" && inFamily) {
      const bool zeroOut = d["ci"][0].get<double>() > 0.0 || d["ci"][1].get<double>() < 0.0;
      EXPECT_EQ(claimed, zeroOut) << d.dump();
    }
    EXPECT_EQ(d.contains("wheel"), d["quantity"] == "at_travel_end_s" || d["quantity"] == "damper_rms_mm_s");
    if (d["to"] == "high1" && d["phase"] == "middle" && d["quantity"] == "lltd_front" && d["verdict"] == "higher") ++share;
    if (d["to"] == "short1" && d["phase"] != "entry" && d["quantity"] == "at_travel_end_s" && d["verdict"] == "higher") {
      ++stops;
    }
  }
  EXPECT_GT(phaseNumbers, 0u);
  EXPECT_GE(3 * share, 2 * cs.size()) << share << " of " << cs.size();
  EXPECT_GE(2 * stops, cs.size()) << stops;
  // The findings of the share's comparison tie the middle's balance to the
  // bars and the measured share, agreeing as the balance moved.
  std::size_t links = 0;
  for (const Json& f : j["findings"]) {
    if (f["to"] != "high1") continue;
    for (const Json& c : f["corners"]) {
      if (!c.contains("why")) continue;
      EXPECT_EQ(c["drivers_differ"], false);
      std::string middle;
      for (const Json& d : j["differences"]) {
        if (d["to"] == "high1" && d["where"] == c["corner"] && d["quantity"] == "understeer_middle_deg") middle = d["verdict"];
      }
      for (const Json& l : c["why"]) {
        const bool onShare = l["quantity"] == "anti_roll_front" || l["quantity"] == "anti_roll_rear" ||
                           (l["quantity"] == "lltd_front" && l["phase"] == "middle");
        if (!onShare) continue;
        ++links;
        if (middle == "higher" || middle == "lower") {
          EXPECT_EQ(l["agrees"], middle == "higher") << c["corner"] << l.dump();
        } else {
          EXPECT_TRUE(l["agrees"].is_null()) << c["corner"] << l.dump();
        }
      }
    }
  }
  EXPECT_GT(links, 0u);
  // Slow and fast corners split the track; each group's balance by class
  // and phase, compared between groups in the family.
  const Json& track = j["tracks"][0];
  const Json& bySpeed = track["groups"][0]["balance_by_speed"];
  EXPECT_EQ(bySpeed["slow"]["corners"].size() + bySpeed["fast"]["corners"].size(), cs.size());
  EXPECT_TRUE(bySpeed["fast"]["middle"]["understeer_deg_ci"].is_array());
  EXPECT_GT(track["speed_boundary_m_s"].get<double>(), 10.0);
  std::size_t classes = 0;
  for (const Json& d : j["differences"]) classes += d["where"] == "slow corners" || d["where"] == "fast corners" ? 1u : 0u;
  EXPECT_EQ(classes, 2u * 2u * 3u);
  std::size_t phasePriors = 0;
  for (const Json& p : j["tracks"][0]["priors"]) phasePriors += p.contains("phase") ? 1u : 0u;
  EXPECT_EQ(phasePriors, 3u * phaseKeyCount);
}

TEST(BalanceBySpeed, SlowCornersAreBelowTheMedianAndEachLapIsOneValue) {
  // Four corners at 20, 30, 40 and 50 m/s on the reference lap (lap 0);
  // two laps of group 0 whose middle understeer is 1 and 3 in slow corners.
  TrackAnalysis track;
  track.reference = 0;
  track.laps.resize(3);
  track.laps[2].group = 1;
  for (std::size_t k = 0; k < 4; ++k) {
    CornerResult c;
    c.corner.name = std::to_string(k + 1);
    for (std::size_t l = 0; l < 3; ++l) {
      CornerLap lap;
      lap.lap = l;
      lap.value[cornerMinSpeed] = 20.0 + 10.0 * static_cast<double>(k);
      lap.phases[middlePhase].understeer = (k < 2 ? 1.0 : -1.0) + 2.0 * static_cast<double>(l % 2);
      c.laps.push_back(lap);
    }
    track.corners.push_back(c);
  }
  track.corners[3].laps[0].value[cornerMinSpeed] = std::numeric_limits<double>::quiet_NaN();  // in neither
  const SpeedClasses classes = classifyCorners(track);
  EXPECT_EQ(classes.boundary, 30.0);
  EXPECT_EQ(classes.corners[slowCorners], (std::vector<std::size_t>{0}));
  EXPECT_EQ(classes.corners[fastCorners], (std::vector<std::size_t>{1, 2}));
  const ClassBalance b = balanceBySpeed(track, classes, 0);
  EXPECT_EQ(b[slowCorners][middlePhase].laps, 2u);
  EXPECT_DOUBLE_EQ(b[slowCorners][middlePhase].mean, 2.0);
  EXPECT_DOUBLE_EQ(b[fastCorners][middlePhase].mean, 1.0);  // laps of 0 and 2: T2 at 1 and 3, T3 at -1 and 1
  EXPECT_FALSE(b[slowCorners][entryPhase].known());
  EXPECT_EQ(balanceBySpeed(track, classes, 1)[fastCorners][middlePhase].laps, 1u);
}

TEST(CornerPhases, ADamagedSampleDoesNotHideTheMiddleAfterIt) {
  // 200 samples 0.5 m apart: the car slows to its slowest at sample 150,
  // where it corners hardest; sample 20's lateral acceleration is lost.
  const std::size_t n = 200;
  std::vector<double> distance(n), understeer(n, 1.0), use(n, 0.5);
  std::vector<float> speed(n), lateral(n);
  for (std::size_t i = 0; i < n; ++i) {
    distance[i] = 0.5 * static_cast<double>(i);
    const double fromPeak = (static_cast<double>(i) - 150.0) / 20.0;
    speed[i] = static_cast<float>(20.0 + fromPeak * fromPeak);
    lateral[i] = static_cast<float>(1.0 / (1.0 + fromPeak * fromPeak));
  }
  lateral[20] = std::numeric_limits<float>::quiet_NaN();
  const CornerPhases p = cornerPhases({distance, speed, lateral, understeer, use, use, 0, 0, n - 1, 0.01, 0.0,
                                       distance.back(), nullptr, true});
  EXPECT_LT(p[middlePhase].start, 75.0);
  EXPECT_GT(p[middlePhase].end, 75.0);
  EXPECT_EQ(p[middlePhase].understeer, 1.0);
}

}  // namespace
}  // namespace skidlog
