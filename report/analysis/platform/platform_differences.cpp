#include "report/analysis/platform/platform_differences.h"

#include "report/analysis/report_group.h"

namespace skidlog {
namespace {

// Over laps where either group holds two or more; one lap against one lap by
// each lap's resamples of its blocks.
void compareNumbers(const PlatformNumber& from, const PlatformNumber& to, const Place& place, const char* quantity,
                    double resolution, std::vector<Difference>& out) {
  if (!from.laps.known() || !to.laps.known()) return;
  if (from.laps.laps == 1 && to.laps.laps == 1) {
    Difference d = compare(from.estimate, to.estimate, false, place, "", quantity);
    d.notes.emplace_back(DifferenceNote::Reason::blocksOfOneLap);
    holdBelowResolution(d, resolution);
    out.push_back(std::move(d));
    return;
  }
  out.push_back(compareOverLaps(from.laps, to.laps, place, quantity, resolution));
}

}  // namespace

void comparePlatforms(std::span<const ReportGroup> groups, std::vector<Difference>& out) {
  if (groups.empty()) return;
  const Platform& first = groups[0].platform;
  for (std::size_t g = 1; g < groups.size(); ++g) {
    const Platform& other = groups[g].platform;
    const Place car{0, g, "platform"};
    compareNumbers(first.rollGradient, other.rollGradient, car, "roll_gradient_deg_per_g", gradientResolution, out);
    compareNumbers(first.lltdFront, other.lltdFront, car, "lltd_front", shareResolution, out);
    compareNumbers(first.pitchGradient, other.pitchGradient, car, "pitch_gradient_deg_per_g", gradientResolution, out);
    for (std::size_t w = 0; w < first.wheels.size(); ++w) {
      const WheelPlatform& a = first.wheels[w];
      const WheelPlatform& b = other.wheels[w];
      const Place wheel{0, g, wheelNames[w]};
      if (a.lapTravelUsed.laps.known() && b.lapTravelUsed.laps.known()) {
        Difference d = compareOverLaps(a.lapTravelUsed.laps, b.lapTravelUsed.laps, wheel, "travel_used", shareResolution);
        d.notes.emplace_back(DifferenceNote::Reason::largestTravelPerLap);
        out.push_back(std::move(d));
      }
      compareNumbers(a.atTravelEnd, b.atTravelEnd, wheel, "at_travel_end_s", travelEndResolution, out);
    }
  }
}

}  // namespace skidlog
