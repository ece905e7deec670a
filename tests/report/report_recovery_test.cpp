// The report's fit recovers tyres whose curves are known: the generator's car
// drives them, the library reads its replay back, the analysis fits them. The
// truth for a wheel is its tyre at the reference load the fit states.
#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "report/report_data.h"
#include "tests/support/analysed_lap.h"
#include "tools/generator/synth.h"

namespace skidlog {
namespace {

using generator::CarSetup;
using generator::Tyre;

ReportGroup analysedLap(const CarSetup& car, std::uint64_t seed, double seconds) {
  generator::LapOptions lap;
  lap.seconds = seconds;
  lap.seed = seed;
  return test::analysedLap(car, lap);
}

struct Truth {
  double peakGrip;      // the larger side's: the peak factor plus the camber thrust
  double peakSlip;      // degrees
  double stiffness;     // grip per degree
  double sensitivity;   // peak grip per kN
};

Truth lateralTruth(const Tyre& tyre, double load) {
  return {tyre.lateral.D * tyre.peakScale(load) + tyre.camberThrust, tyre.lateral.peakSlip(),
          tyre.corneringStiffness(load), tyre.loadSensitivityPerKn()};
}

const Tyre& tyreOf(const CarSetup& car, int w) { return generator::isFront(w) ? car.front : car.rear; }

TEST(Recovery, TheFitRecoversTheGeneratorsTyres) {
  const CarSetup car = generator::exampleCar();
  const ReportGroup report = analysedLap(car, 1, 120.0);
  int rearsReached = 0;
  for (int w = 0; w < 4; ++w) {
    SCOPED_TRACE(wheelNames[w]);
    const TyreAnalysis& a = report.wheels[static_cast<std::size_t>(w)];
    ASSERT_TRUE(a.lateral && a.longitudinal);
    const CurveFit& fit = a.lateral->fit;
    const Truth t = lateralTruth(tyreOf(car, w), fit.curve.referenceLoad);
    EXPECT_NEAR(fit.curve.corneringStiffness() / t.stiffness, 1.0, 0.05);
    EXPECT_LT(a.loadSensitivity.value, 0.0);
    EXPECT_LT(a.loadSensitivity.ci.high, 0.0);
    // The driver takes the rears past their peak in a few corners and never
    // the fronts; no wheel is braked or driven to its longitudinal peak. A
    // peak counts as reached only where nearly every resample shows the fall
    // after it, so a rear's few corners may not be enough.
    if (generator::isFront(w)) {
      EXPECT_FALSE(fit.peak.reached);
    }
    rearsReached += !generator::isFront(w) && fit.peak.reached ? 1 : 0;
    EXPECT_FALSE(a.longitudinal->fit.peak.reached);
    if (fit.peak.reached) {
      EXPECT_NEAR(fit.peak.grip / t.peakGrip, 1.0, 0.03);
      EXPECT_NEAR(fit.peak.slip / t.peakSlip, 1.0, 0.10);
    } else {
      EXPECT_LT(fit.peak.grip, 1.03 * t.peakGrip);
    }
    // Every interval holds its own value; the numbers the data defines lie
    // inside the central 95 % of their own refits, as an estimate refitted
    // the way its resamples are must.
    for (const Estimate* e : {&a.lateral->peakGrip, &a.lateral->peakSlip, &a.lateral->corneringStiffness,
                              &a.longitudinal->peakGrip, &a.longitudinal->corneringStiffness, &a.loadSensitivity}) {
      EXPECT_LE(e->ci.low, e->value);
      EXPECT_GE(e->ci.high, e->value);
      EXPECT_LT(e->ci.low, e->ci.high);
    }
    std::vector<const Estimate*> defined = {&a.lateral->corneringStiffness, &a.longitudinal->corneringStiffness,
                                            &a.loadSensitivity};
    if (fit.peak.reached) defined.push_back(&a.lateral->peakGrip);
    for (const Estimate* e : defined) {
      const Interval central = interval95(e->replicates, std::numeric_limits<double>::quiet_NaN());
      EXPECT_LT(central.low, e->value);
      EXPECT_GT(central.high, e->value);
    }
  }
  EXPECT_GE(rearsReached, 1);
}

TEST(RecoveryStudy, IntervalsCoverTheTruthAsOftenAsTheySay) {
  // Twenty laps of the same car and tyres, each with its own noise.
  const CarSetup car = generator::exampleCar();
  int peaks = 0, peaksCovered = 0, stiffnesses = 0, stiffnessesCovered = 0;
  for (std::uint64_t seed = 1; seed <= 20; ++seed) {
    const ReportGroup report = analysedLap(car, seed, 90.0);
    for (int w = 0; w < 4; ++w) {
      const CurveAnalysis& a = *report.wheels[static_cast<std::size_t>(w)].lateral;
      const Truth t = lateralTruth(tyreOf(car, w), a.fit.curve.referenceLoad);
      const auto covers = [](const Estimate& e, double value) { return e.ci.low <= value && value <= e.ci.high; };
      if (a.fit.peak.reached) {
        ++peaks;
        peaksCovered += covers(a.peakGrip, t.peakGrip);
      }
      ++stiffnesses;
      stiffnessesCovered += covers(a.corneringStiffness, t.stiffness);
    }
  }
  EXPECT_GE(peaks, 30);
  EXPECT_GE(peaksCovered, 0.85 * peaks) << peaksCovered << " of " << peaks;
  EXPECT_GE(stiffnessesCovered, 0.85 * stiffnesses) << stiffnessesCovered << " of " << stiffnesses;
}

}  // namespace
}  // namespace skidlog
