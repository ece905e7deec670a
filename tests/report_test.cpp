// skidlog-report: the robust fit, honest peaks, names as the simulator shows
// them, and the command line's pooling, refusals and exit codes.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "report/magic_formula.h"
#include "report/report_run.h"
#include "report/simulator_text.h"
#include "tests/replay_builder.h"
#include "tests/temp_dir.h"

namespace skidlog {
namespace {

const FitLimits lateral{{0.01, 1.0, 0.1, -3.0, -3.0, -0.15}, {2.0, 2.2, 3.5, 1.0, 3.0, 0.15}, 90.0};
const MagicFormula truth{0.15, 1.5, 1.2, 0.3, 0.4, 0.03};

// Points of `truth` over [-reach, reach] degrees with Gaussian noise, and a
// share of outliers anywhere in [-2, 2] (kerb strikes, slides).
void sample(double reach, double outliers, std::vector<float>& x, std::vector<float>& y) {
  std::mt19937 random(7);
  std::uniform_real_distribution<double> slip(-reach, reach), wild(-2.0, 2.0), chance(0.0, 1.0);
  std::normal_distribution<double> noise(0.0, 0.03);
  for (int i = 0; i < 6000; ++i) {
    const double s = slip(random);
    x.push_back(static_cast<float>(s));
    y.push_back(static_cast<float>(chance(random) < outliers ? wild(random) : truth(s) + noise(random)));
  }
}

TEST(MagicFormulaFit, RecoversKnownCoefficientsDespiteOutliers) {
  std::vector<float> x, y;
  sample(20.0, 0.05, x, y);
  const auto fit = fitMagicFormula(x, y, lateral);
  ASSERT_TRUE(fit);
  EXPECT_NEAR(fit->curve.B, truth.B, 0.01);
  EXPECT_NEAR(fit->curve.C, truth.C, 0.05);
  EXPECT_NEAR(fit->curve.D, truth.D, 0.02);
  EXPECT_NEAR(fit->curve.E, truth.E, 0.15);
  EXPECT_NEAR(fit->curve.Sh, truth.Sh, 0.1);
  EXPECT_NEAR(fit->curve.Sv, truth.Sv, 0.01);
  // The peak of truth, 1.23 at 12.93 degrees, lies inside the data: it is reached.
  EXPECT_TRUE(fit->peakReached);
  EXPECT_NEAR(fit->peakGrip, truth.D + truth.Sv, 0.02);
  EXPECT_NEAR(fit->peakSlip, 12.93, 0.5);
}

TEST(MagicFormulaFit, NoPeakIsClaimedFromDataThatStopsShortOfIt) {
  std::vector<float> x, y;
  sample(4.0, 0.0, x, y);
  const auto fit = fitMagicFormula(x, y, lateral);
  ASSERT_TRUE(fit);
  EXPECT_FALSE(fit->peakReached);
  EXPECT_LE(fit->peakSlip, fit->slipP99);
  EXPECT_GT(fit->r2, 0.9);
  x.resize(minFitPoints - 1);
  y.resize(minFitPoints - 1);
  EXPECT_FALSE(fitMagicFormula(x, y, lateral));
}

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
  EXPECT_EQ(run({"--version"}), 0);
  EXPECT_EQ(out.str().rfind("skidlog-report ", 0), 0u);
  EXPECT_EQ(run({"-h"}), 0);
  EXPECT_NE(out.str().find("Usage: skidlog-report"), std::string::npos);
}

}  // namespace
}  // namespace skidlog
