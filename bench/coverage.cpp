// coverage [LAPS = 40] [SECONDS = 60] [magic|brush [VARIATION]]: how often the
// report's 95 % intervals hold the true value, over laps of the generator's
// example car that differ only in their seed (the driver's lap-to-lap
// variation and the noise), its tyres Magic Formula curves or brush curves
// (which the report does not fit exactly), the lap's grip varying with
// standard deviation VARIATION (default 0). The truth of a wheel is the lap's
// tyre at the reference load the fit states.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "report/report_data.h"
#include "tests/support/analysed_lap.h"
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

generator::LapOptions lapOptions(std::uint64_t seed, double seconds, double variation) {
  generator::LapOptions lap;
  lap.seconds = seconds;
  lap.seed = seed;
  lap.gripVariation = variation;
  return lap;
}

}  // namespace

int main(int argc, char** argv) {
  const int laps = argc > 1 ? std::atoi(argv[1]) : 40;
  const double seconds = argc > 2 ? std::atof(argv[2]) : 60.0;
  const bool brush = argc > 3 && std::strcmp(argv[3], "brush") == 0;
  const double variation = argc > 4 ? std::atof(argv[4]) : 0.0;
  const generator::CarSetup car = brush ? generator::withBrushTyres(generator::exampleCar()) : generator::exampleCar();
  Tally peakGrip, peakSlip, stiffness, sensitivity;
  for (int seed = 1; seed <= laps; ++seed) {
    const generator::LapOptions options = lapOptions(static_cast<std::uint64_t>(seed), seconds, variation);
    const ReportGroup report = test::analysedLap(car, options);
    const generator::CarSetup truth = generator::lapCar(car, options);
    for (int w = 0; w < 4; ++w) {
      const TyreAnalysis& a = report.wheels[static_cast<std::size_t>(w)];
      const generator::Tyre& t = generator::isFront(w) ? truth.front : truth.rear;
      const double load = a.lateral->fit.curve.referenceLoad;
      if (a.lateral->fit.peak.reached) {
        peakGrip.add(a.lateral->peakGrip, t.lateralPeakGrip(load));
        peakSlip.add(a.lateral->peakSlip, t.lateral.peakSlip());
      }
      stiffness.add(a.lateral->corneringStiffness, t.corneringStiffness(load));
      sensitivity.add(a.loadSensitivity, t.relativeLoadSensitivityPerKn(load));
    }
  }
  std::printf("%d laps of %.0f s, %s tyres, grip varying %.3f, the lateral curves' 95 %% intervals:\n", laps, seconds,
              brush ? "brush" : "Magic Formula", variation);
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
