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

// A duration as a count of samples `interval` apart: 0.3 s is 30 samples at
// the recorded 10 ms (0.0099999998 s as a float), not 29.
std::size_t samplesIn(double seconds, double interval) {
  return interval > 0.0 ? static_cast<std::size_t>(std::lround(seconds / interval)) : 0;
}

// The braking zone into a corner: the last run of brake at pedalPressed or
// more that begins between `from` (the previous corner's end) and `apex`,
// joined with the runs before it while the gap between two is shorter than
// zoneGapSeconds and holds no zoneThrottleSeconds of full throttle, so that a
// pumped pedal, a dab after the main stop and a downshift's throttle blips
// are one zone. A run that began before `from` is the previous corner's: the
// zone begins after it. The release is the end of the zone's last run, the
// peak the most pedal within the zone.
void findBraking(LapWalk& walk, double from, double apex, double interval, CornerActions& a) {
  const std::size_t first = walk.end(from), last = walk.end(apex), reached = walk.reached();
  const auto pressed = [&walk](std::size_t i) { return walk.brake(i) >= pedalPressed; };
  std::size_t start = none;
  for (std::size_t i = first; i < last; ++i) {
    if (pressed(i) && !(i > 0 && pressed(i - 1))) start = i;
  }
  if (start == none) return;
  const std::size_t longestGap = samplesIn(zoneGapSeconds, interval);
  const std::size_t throttleRun = samplesIn(zoneThrottleSeconds, interval);
  for (;;) {
    // Back across the gap before `start` to the end of the run before it.
    std::size_t k = start, full = 0;
    bool throttled = false;
    while (k > first && !pressed(k - 1)) {
      --k;
      full = walk.throttle(k) >= fullThrottle ? full + 1 : 0;
      throttled = throttled || full >= throttleRun;
    }
    if (k == first || start - k >= longestGap || throttled) break;
    std::size_t earlier = k - 1;
    while (earlier > first && pressed(earlier - 1)) --earlier;
    if (earlier == first && earlier > 0 && pressed(earlier - 1)) break;  // the previous corner's
    start = earlier;
  }
  a.brakeAt = walk.place(start);
  a.peakBrake = 0.0;
  std::size_t end = start;
  for (std::size_t i = start; i < reached && (i < last || pressed(i)); ++i) {
    a.peakBrake = std::max(a.peakBrake, walk.brake(i));
    if (pressed(i)) end = i + 1;
  }
  if (end < reached) a.brakeReleaseAt = walk.place(end);
}

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

// The lift: the last sample below pedalPressed from the previous corner's
// end (or its throttle's return) to this corner's end, gear changes aside;
// and the throttle's return after it, before the next corner's start.
void findThrottle(LapWalk& walk, const CornerReach& reach, std::size_t endSample, double interval,
                  CornerActions& a) {
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
}

// Full throttle: where the throttle comes to fullThrottle and stays there to
// the corner's end; where the driver lifts again before the end, the full
// throttle that follows, before the next corner's start. The brake does not
// end it (a left foot's dab at full throttle), and the lowest speed does not
// place it: a car can keep slowing at full throttle through a long corner. A
// corner taken flat (no braking, no lift but a gear change's) has none.
void findFullThrottle(LapWalk& walk, const CornerReach& reach, std::size_t endSample, CornerActions& a) {
  if (std::isnan(a.brakeAt) && a.lifts == false) return;
  const std::size_t from = walk.end(reach.previousEnd), beforeNext = walk.end(reach.nextStart);
  const auto full = [&walk](std::size_t i) { return walk.throttle(i) >= fullThrottle; };
  if (full(endSample)) {
    std::size_t k = endSample;
    while (k > from && full(k - 1)) --k;
    a.fullThrottleAt = walk.place(k);
    return;
  }
  for (std::size_t i = endSample + 1; i < beforeNext; ++i) {
    if (full(i)) {
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
  findBraking(walk, reach.previousEnd, corner.apex, interval, a);
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
  findThrottle(walk, reach, endSample, interval, a);
  findFullThrottle(walk, reach, endSample, a);
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
