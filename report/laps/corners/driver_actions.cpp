#include "report/laps/corners/driver_actions.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <numbers>

#include "numeric/precision.h"

namespace skidlog {
namespace {

constexpr double unknown = std::numeric_limits<double>::quiet_NaN();
constexpr std::size_t none = static_cast<std::size_t>(-1);

// A lap's samples by place: the pedals taken within 0 to 1 (a damaged
// file's NaN as not pressed), noting any that were not.
class LapWalk {
 public:
  LapWalk(std::span<const double> distance, const LapSamples& lap) : distance_(distance), lap_(lap) {
    reached_ = 0;
    while (reached_ < distance.size() && !std::isnan(distance[reached_])) ++reached_;
  }

  // The first sample at or beyond place `at` (none past the lap's reach).
  std::size_t at(double place) const {
    const auto first = distance_.begin(), last = distance_.begin() + static_cast<std::ptrdiff_t>(reached_);
    const auto k = static_cast<std::size_t>(std::lower_bound(first, last, place) - first);
    return k < reached_ ? k : none;
  }
  // The samples from place `from` up to (not including) place `to`.
  std::size_t end(double place) const {
    const std::size_t k = at(place);
    return k == none ? reached_ : k;
  }
  double place(std::size_t i) const { return distance_[i]; }
  // The samples the lap is followed for.
  std::size_t reached() const { return reached_; }
  double brake(std::size_t i) { return pedal(lap_.brake, i); }
  double gear(std::size_t i) const { return i < lap_.gear.size() ? widen(lap_.gear[i]) : unknown; }
  double throttle(std::size_t i) { return pedal(lap_.throttle, i); }
  bool clamped() const { return clamped_; }

 private:
  double pedal(const std::vector<float>& v, std::size_t i) {
    const double p = i < v.size() ? widen(v[i]) : unknown;
    if (std::isnan(p)) {
      clamped_ = true;
      return 0.0;
    }
    if (p < 0.0 || p > 1.0) clamped_ = true;
    return std::clamp(p, 0.0, 1.0);
  }

  std::span<const double> distance_;
  const LapSamples& lap_;
  std::size_t reached_ = 0;
  bool clamped_ = false;
};

// The last run of braking that begins between `from` and `apex`.
void findBraking(LapWalk& walk, double from, double apex, CornerActions& a) {
  const std::size_t first = walk.end(from), last = walk.end(apex);
  std::size_t start = none;
  for (std::size_t i = first; i < last; ++i) {
    // A run that began before `from` is the previous corner's.
    const bool pressed = walk.brake(i) >= pedalPressed;
    const bool before = i > 0 && walk.brake(i - 1) >= pedalPressed;
    if (pressed && !before) start = i;
  }
  if (start == none) return;
  a.brakeAt = walk.place(start);
  a.peakBrake = 0.0;
  std::size_t i = start;
  const std::size_t reached = walk.reached();
  for (; i < reached && walk.brake(i) >= pedalPressed; ++i) a.peakBrake = std::max(a.peakBrake, walk.brake(i));
  if (i < reached) a.brakeReleaseAt = walk.place(i);
}

// The lift: the last sample below pedalPressed from the previous corner's
// end (or its throttle's return) to this corner's end, gear changes aside; the throttle's return
// after it and the first full throttle from both it and the lowest speed on,
// each only before the next corner's start.
// A lift from `start` to `back` (the first sample pressed again) is a gear
// change: short, without braking, and into a higher gear.
bool upshift(LapWalk& walk, std::size_t start, std::size_t back, double interval) {
  if (start == 0 || back >= walk.reached()) return false;
  if (static_cast<double>(back - start) * interval > maxShiftSeconds) return false;
  for (std::size_t i = start; i < back; ++i) {
    if (walk.brake(i) >= pedalPressed) return false;
  }
  return walk.gear(back) > walk.gear(start - 1);
}

void findThrottle(LapWalk& walk, const CornerReach& reach, std::size_t endSample, std::size_t slowest,
                  double interval, CornerActions& a) {
  const std::size_t from = std::max(walk.end(reach.previousEnd), reach.liftFrom);
  std::size_t lift = none;
  for (std::size_t i = from; i < endSample;) {
    if (walk.throttle(i) >= pedalPressed) {
      ++i;
      continue;
    }
    // The run of the lift, from where it began (before `from`, perhaps) to
    // where the throttle is pressed again.
    std::size_t start = i, back = i;
    while (start == from && start > 0 && walk.throttle(start - 1) < pedalPressed) --start;
    while (back < walk.reached() && walk.throttle(back) < pedalPressed) ++back;
    if (!upshift(walk, start, back, interval)) lift = std::min(back, endSample) - 1;
    i = back;
  }
  a.lifts = lift != none;
  if (lift == none) {
    a.coastSeconds = 0.0;
    return;
  }
  const std::size_t beforeNext = walk.end(reach.nextStart);
  std::size_t on = lift + 1;
  while (on < beforeNext && walk.throttle(on) < pedalPressed) ++on;
  if (on >= beforeNext) return;
  a.throttleOnAt = walk.place(on);
  a.throttleOnSample = on;
  for (std::size_t i = std::max(slowest, on); i < beforeNext; ++i) {
    if (walk.throttle(i) >= fullThrottle) {
      a.fullThrottleAt = walk.place(i);
      return;
    }
  }
}

}  // namespace

CornerActions cornerActions(const TrackCorner& corner, CornerReach reach, std::span<const double> distance,
                            const LapSamples& lap, const LapPath& path, double interval) {
  CornerActions a;
  LapWalk walk(distance, lap);
  const std::size_t startSample = walk.at(corner.start), endSample = walk.at(corner.end);
  if (startSample == none || endSample == none) return a;
  findBraking(walk, reach.previousEnd, corner.apex, a);
  if (walk.place(startSample) > corner.end) return a;  // no sample inside the corner
  // The lowest speed within the corner, and the gear there.
  std::size_t slowest = startSample;
  // Only samples inside the corner: the one past its end can be slower still
  // where the corner runs straight into the next one.
  for (std::size_t i = startSample; i <= endSample && walk.place(i) <= corner.end; ++i) {
    if (widen(lap.speed[i]) < widen(lap.speed[slowest])) slowest = i;
  }
  a.minSpeedAt = walk.place(slowest);
  const double gear = widen(lap.gear[slowest]);
  a.gearOutOfRange = !(gear >= -1.0 && gear <= maxGear);
  a.gearAtMinSpeed = a.gearOutOfRange ? unknown : gear;
  if (slowest < lap.engineSpeed.size()) {
    const double rpm = widen(lap.engineSpeed[slowest]) * 60.0 / (2.0 * std::numbers::pi);
    if (std::isfinite(rpm) && rpm >= 0.0 && rpm <= maxRpm) a.rpmAtMinSpeed = rpm;
  }
  findThrottle(walk, reach, endSample, slowest, interval, a);
  if (a.lifts == true && !std::isnan(a.throttleOnAt)) {
    // Coasting: neither pedal pressed from the braking's end (or the
    // corner's start) until the throttle comes on.
    const std::size_t from = std::isnan(a.brakeReleaseAt) ? startSample : walk.at(a.brakeReleaseAt);
    const std::size_t on = a.throttleOnSample;
    std::size_t coasting = 0;
    for (std::size_t i = from; i < on; ++i) {
      if (walk.brake(i) < pedalPressed && walk.throttle(i) < pedalPressed) ++coasting;
    }
    a.coastSeconds = from <= on ? static_cast<double>(coasting) * interval : 0.0;
  }
  // The line, toward the inside of the corner.
  const double inside = corner.left ? 1.0 : -1.0;
  const auto line = [&](std::size_t i) {
    return inside * path.leftOf(walk.place(i), widen(lap.x[i]), widen(lap.y[i]));
  };
  const std::size_t apexSample = walk.at(corner.apex);
  a.lineEntry = line(startSample);
  a.lineExit = line(endSample);
  if (apexSample != none) {
    a.lineApex = line(apexSample);
    a.steerApexDeg = widen(lap.steerDeg[apexSample]);
  }
  a.pedalsClamped = walk.clamped();
  return a;
}

}  // namespace skidlog
