#include "report/quantity/quantities.h"

#include <algorithm>
#include <array>
#include <limits>

namespace skidlog {
namespace {

constexpr double none = std::numeric_limits<double>::infinity();
constexpr std::string_view degree = "\u00b0";

// The bounds a value is certain to keep: pedals between released and
// floored, speeds and engine speeds not below zero and not past what a car
// reaches, an angle within a turn either way.
constexpr Quantity place(std::string_view key, std::string_view words) {
  return {key, words, "m", 0, 1.0, Bound::trackLength, 0.0, none, Better::neither};
}
constexpr Quantity duration(std::string_view key, std::string_view words, int decimals, double resolution,
                            std::string_view phase = {}) {
  return {key, words, "s", decimals, resolution, Bound::lapTime, 0.0, none, Better::lowerIsBetter, phase};
}
constexpr Quantity timeLost(std::string_view key, std::string_view words) {
  return {key, words, "s", 2, 0.01, Bound::lapTime, -none, none, Better::lowerIsBetter};
}
constexpr Quantity angle(std::string_view key, std::string_view words, std::string_view phase = {}) {
  return {key, words, degree, 1, 0.1, Bound::fixed, -360.0, 360.0, Better::neither, phase};
}
constexpr Quantity share(std::string_view key, std::string_view words, double low, double high,
                         std::string_view phase = {}) {
  return {key, words, "", 3, 0.001, Bound::fixed, low, high, Better::neither, phase};
}

// `q` as a driver's action a finding names.
constexpr Quantity acts(Quantity q, ActionWords words) {
  q.action = words;
  return q;
}
constexpr ActionWords placed(std::string_view before) { return {before, "later", "earlier", 5.0}; }
constexpr ActionWords understeers(std::string_view more, std::string_view less) {
  return {"understeers ", more, less, 0.3};
}

// Resolutions: 0.01 s, 1 m of place, 0.1 m/s, 0.1 degree, 2 points of
// pedal, 50 rpm, 1 mm/s of damper speed; a thousandth of a share or of grip
// use; on a stop 0.045 s, so that five samples at the recorded 10 ms
// (0.0099999998 s as a float) count and four do not: a wheel brushing its
// stop over a kerb for a few samples is not a platform that differs.
constexpr std::array table{
    // The lap.
    duration("lap_time_s", "lap time", 3, 0.01),
    // A corner's numbers, in the order its laps list them.
    duration("time_s", "time through the corner", 3, 0.01),
    duration("corner_time_s", "time through the corner", 3, 0.01),
    acts(Quantity{"min_speed", "minimum speed", "m/s", 1, 0.1, Bound::fixed, 0.0, 150.0, Better::higherIsBetter},
         {"minimum speed ", "higher", "lower", 0.5}),
    acts(angle("understeer_entry_deg", "understeer on entry", "entry"), understeers("more on entry", "less on entry")),
    acts(angle("understeer_middle_deg", "understeer in the middle", "middle"),
         understeers("more in the middle", "less in the middle")),
    acts(angle("understeer_exit_deg", "understeer on exit", "exit"), understeers("more on exit", "less on exit")),
    share("front_use", "front grip use", 0.0, none),
    share("rear_use", "rear grip use", 0.0, none),
    share("front_use_of_peak", "front use of its peak", 0.0, none),
    share("rear_use_of_peak", "rear use of its peak", 0.0, none),
    acts(place("brake_m", "braking point"), placed("brakes ")),
    acts(place("brake_release_m", "brake release"), placed("releases the brake ")),
    // The pedal in points of its travel: 0.01 of it is one point.
    acts(Quantity{"peak_brake", "peak brake pedal", "", 2, 0.02, Bound::fixed, 0.0, 1.0, Better::neither},
         {"peak brake pedal ", "higher", "lower", 0.1, 100.0, "points"}),
    acts(place("min_speed_m", "slowest point"), placed("slowest ")),
    acts(Quantity{"gear_min", "gear at the slowest point", "", 0, 1.0, Bound::fixed, 0.0, 10.0, Better::neither},
         {"", "higher at the slowest point", "lower at the slowest point", 1.0, 1.0, "gear"}),
    acts(Quantity{"rpm_min", "engine speed at the slowest point", "rpm", 0, 50.0, Bound::fixed, 0.0, 20000.0,
                  Better::neither},
         {"engine ", "faster at the slowest point", "slower at the slowest point", 300.0}),
    acts(place("full_throttle_m", "full throttle"), placed("full throttle ")),
    acts(place("throttle_on_m", "back on the throttle"), placed("back on the throttle ")),
    acts(duration("coast_s", "coasting", 2, 0.01), {"coasts ", "longer", "less", 0.2}),
    acts(Quantity{"line_entry_m", "line at entry", "m", 1, 0.1, Bound::fixed, -100.0, 100.0, Better::neither},
         {"", "tighter at turn-in", "wider at turn-in", 0.5}),
    acts(Quantity{"line_apex_m", "line at the apex", "m", 1, 0.1, Bound::fixed, -100.0, 100.0, Better::neither},
         {"", "tighter at the apex", "wider at the apex", 0.5}),
    acts(Quantity{"line_exit_m", "line at exit", "m", 1, 0.1, Bound::fixed, -100.0, 100.0, Better::neither},
         {"", "tighter at the exit", "wider at the exit", 0.5}),
    acts(angle("steer_apex_deg", "steering at the apex"),
         {"", "more steering at the apex", "less steering at the apex", 2.0}),
    duration("segment_time_s", "segment time", 3, 0.01),
    timeLost("segment_delta_s", "time lost in the segment"),
    timeLost("entry_delta_s", "time lost to the apex"),
    timeLost("exit_delta_s", "time lost from the apex"),
    // A corner phase's numbers, and the understeer of a class of corners.
    angle("understeer_deg", "understeer"),
    angle("roll_deg", "roll"),
    share("lltd_front", "front share of the lateral load transfer", -none, none),
    Quantity{"at_travel_end_s", "time at the end of the travel", "s", 2, 0.045, Bound::lapTime, 0.0, none,
             Better::neither},
    Quantity{"damper_rms_mm_s", "damper speed (rms)", "mm/s", 0, 1.0, Bound::fixed, 0.0, none, Better::neither},
    // The platform over a lap.
    Quantity{"roll_gradient_deg_per_g", "roll gradient", "deg/g", 2, 0.01, Bound::fixed, -none, none,
             Better::neither},
    Quantity{"pitch_gradient_deg_per_g", "pitch gradient", "deg/g", 2, 0.01, Bound::fixed, -none, none,
             Better::neither},
    share("travel_used", "travel used", 0.0, none),
    // The tyres and the balance, from their fitted curves; the slip and
    // stiffness are per degree laterally and per unit of slip ratio
    // longitudinally, and named with their curve.
    Quantity{"peak_grip", "peak grip", "", 3, 0.001, Bound::fixed, 0.0, none, Better::higherIsBetter},
    Quantity{"peak_slip", "slip at the peak", degree, 2, 0.0, Bound::fixed, -none, none, Better::neither, {}, "lateral"},
    Quantity{"peak_slip", "slip at the peak", "", 4, 0.0, Bound::fixed, -none, none, Better::neither, {},
             "longitudinal"},
    Quantity{"cornering_stiffness", "cornering stiffness", "/\u00b0", 4, 0.0, Bound::fixed, -none, none,
             Better::neither, {}, "lateral"},
    Quantity{"cornering_stiffness", "cornering stiffness", "/unit slip", 2, 0.0, Bound::fixed, -none, none, Better::neither, {},
             "longitudinal"},
    Quantity{"load_sensitivity", "load sensitivity", "/kN", 3, 0.0, Bound::fixed, -none, none, Better::neither},
    Quantity{"understeer_gradient", "understeer gradient", "deg/g", 2, 0.01, Bound::fixed, -none, none,
             Better::neither},
};

}  // namespace

std::span<const Quantity> quantities() { return table; }

const Quantity* quantityNamed(std::string_view key, std::string_view curve) {
  const auto it = std::find_if(table.begin(), table.end(), [key, curve](const Quantity& q) {
    return q.key == key && (q.curve.empty() || curve.empty() || q.curve == curve);
  });
  return it == table.end() ? nullptr : &*it;
}

double reachOf(const Quantity& q, const TrackScale& scale) {
  switch (q.bound) {
    case Bound::trackLength:
      return scale.length;
    case Bound::lapTime:
      return scale.lapTime;
    case Bound::fixed:
      break;
  }
  return q.high - q.low;
}

void keepWithinRange(const Quantity& q, double& low, double& high) {
  if (q.bound != Bound::fixed) return;
  low = std::clamp(low, q.low, q.high);
  high = std::clamp(high, q.low, q.high);
}

}  // namespace skidlog
