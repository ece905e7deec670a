// coverage [LAPS = 40] [SECONDS = 60]: how often the report's 95 % intervals
// hold the true value, over laps of the generator's example car that differ
// only in their seed (the driver's lap-to-lap variation and the noise). The
// truth of a wheel is its tyre at the reference load the fit states.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "report/analysis/report_data.h"
#include "tests/analysed_lap.h"
#include "tools/generator/synth.h"

namespace {

using namespace skidlog;

struct Tally {
  int covered = 0;
  int total = 0;
  void add(const Estimate& e, double truth) {
    ++total;
    covered += e.ci.low <= truth && truth <= e.ci.high;
  }
};

ReportGroup analysedLap(const generator::CarSetup& car, std::uint64_t seed, double seconds) {
  generator::LapOptions lap;
  lap.seconds = seconds;
  lap.seed = seed;
  return test::analysedLap(car, lap);
}

}  // namespace

int main(int argc, char** argv) {
  const int laps = argc > 1 ? std::atoi(argv[1]) : 40;
  const double seconds = argc > 2 ? std::atof(argv[2]) : 60.0;
  const generator::CarSetup car = generator::exampleCar();
  Tally peakGrip, peakSlip, stiffness, sensitivity;
  for (int seed = 1; seed <= laps; ++seed) {
    const ReportGroup report = analysedLap(car, static_cast<std::uint64_t>(seed), seconds);
    for (int w = 0; w < 4; ++w) {
      const TyreAnalysis& a = report.wheels[static_cast<std::size_t>(w)];
      const generator::Tyre& t = generator::isFront(w) ? car.front : car.rear;
      const double load = a.lateral->fit.curve.referenceLoad;
      if (a.lateral->fit.peak.reached) {
        peakGrip.add(a.lateral->peakGrip, t.lateral.D * t.peakScale(load) + t.camberThrust);
        peakSlip.add(a.lateral->peakSlip, t.lateral.peakSlip());
      }
      stiffness.add(a.lateral->corneringStiffness, t.corneringStiffness(load));
      sensitivity.add(a.loadSensitivity, t.loadSensitivityPerKn());
    }
  }
  std::printf("%d laps of %.0f s, the lateral curves' 95 %% intervals:\n", laps, seconds);
  const auto line = [](const char* name, const Tally& t) {
    std::printf("  %-20s %3d of %3d hold the truth (%.1f %%)\n", name, t.covered, t.total,
                t.total ? 100.0 * t.covered / t.total : 0.0);
  };
  line("peak grip", peakGrip);
  line("peak slip", peakSlip);
  line("cornering stiffness", stiffness);
  line("load sensitivity", sensitivity);
  return 0;
}
