// Every number the report compares, once: its key (as the JSON names it),
// its words, its unit, the decimals it is shown to, its resolution (the
// least difference a driver or engineer can act on: a difference smaller is
// never claimed), the range its values can take, which way is better and
// the phase of a corner it belongs to. Names, units and words live here and
// nowhere else; the JSON carries them as `quantities`.
#ifndef SKIDLOG_REPORT_QUANTITY_QUANTITIES_H_
#define SKIDLOG_REPORT_QUANTITY_QUANTITIES_H_

#include <limits>
#include <span>
#include <string_view>

namespace skidlog {

// What bounds a quantity's values: a fixed range, the track's length (a
// place along the lap), or the lap's time (a duration within it, or a time
// gained or lost over part of it).
enum class Bound { fixed, trackLength, lapTime };

// Which way of a difference reads as better for the later side.
enum class Better { neither, higherIsBetter, lowerIsBetter };

// How a driver's action reads in a finding, said of the later side:
// `before`, the size, the unit, then `more` for a positive difference or
// `less` ("brakes 12 m later"). `oneLap` is the least difference worth a word
// where one lap stands against one and no interval can say more; a quantity
// without `before` or `more` is not an action.
struct ActionWords {
  std::string_view before;
  std::string_view more;
  std::string_view less;
  double oneLap = 0.0;
  double scale = 1.0;        // the number as the words give it: the difference times this
  std::string_view unit{};   // the words' unit where it is not the quantity's ("points" of pedal)
  bool named() const { return !more.empty(); }
};

struct Quantity {
  std::string_view key;
  std::string_view words;
  std::string_view unit;   // as shown after the number; empty for a ratio or a count
  int decimals = 0;
  double resolution = 0.0;  // in its unit
  Bound bound = Bound::fixed;
  double low = -std::numeric_limits<double>::infinity();  // a value's range, with Bound::fixed
  double high = std::numeric_limits<double>::infinity();
  Better better = Better::neither;
  std::string_view phase{};  // entry, middle or exit; empty for a corner's or a lap's whole
  // The tyre curve (lateral, longitudinal) a number of that key belongs to
  // where its unit depends on it: a slip in degrees or as a ratio.
  std::string_view curve{};
  ActionWords action{};
};

// The lengths that bound places and times on a track.
struct TrackScale {
  double length = std::numeric_limits<double>::infinity();   // m
  double lapTime = std::numeric_limits<double>::infinity();  // s, the longest complete lap's
};

// The whole table, in the order the JSON lists it.
std::span<const Quantity> quantities();

// The quantity of that key (of that tyre curve, where its unit depends on
// the curve); nullptr for a key the table does not hold.
const Quantity* quantityNamed(std::string_view key, std::string_view curve = {});

// The most two values of `q` can differ by on a track of `scale`: the width
// of its range, the track's length, or the lap's time.
double reachOf(const Quantity& q, const TrackScale& scale);

// A value's interval kept within the range its quantity can take, where
// that range is fixed (a pedal between released and floored): the values
// beyond it cannot be, so the interval covers what it covered. Places and
// times are left as they are.
void keepWithinRange(const Quantity& q, double& low, double& high);

}  // namespace skidlog

#endif  // SKIDLOG_REPORT_QUANTITY_QUANTITIES_H_
