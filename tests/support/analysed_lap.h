// A generated lap of a car with known tyres, read back and analysed as the
// report analyses a replay: what the recovery, balance and coverage checks
// compare against the car's own tyres.
#ifndef SKIDLOG_TESTS_SUPPORT_ANALYSED_LAP_H_
#define SKIDLOG_TESTS_SUPPORT_ANALYSED_LAP_H_

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <vector>

#include "report/report_data.h"
#include "report/fit/random.h"
#include "skidlog/skidlog.h"
#include "tools/generator/synth.h"

namespace skidlog::test {

inline ReportGroup analysedLap(const generator::CarSetup& car, const generator::LapOptions& lap) {
  const std::vector<std::byte> bytes = generator::generateLap(car, lap);
  Replay replay;
  if (loadReplay(bytes, std::uint64_t{1} << 32, replay).status != LoadStatus::loaded) {
    throw std::runtime_error("the generated lap does not load");
  }
  deriveWheelSeries(replay);
  ReportGroup group;
  group.add(replay);
  analyseGroup(group, reportSeed);
  return group;
}

}  // namespace skidlog::test

#endif  // SKIDLOG_TESTS_SUPPORT_ANALYSED_LAP_H_
