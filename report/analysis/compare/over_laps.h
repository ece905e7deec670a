// Numbers with one value per lap (a corner's time or minimum speed, the
// understeer angle through it, a lap's time): the lap is the unit. A group's
// value is the mean over its laps, and its 95 % interval is Student's t over
// them. Over few laps the spread is better moderated toward what the track's
// other corners show (see report/inference/moderated_variance.h): it then
// has more degrees of freedom than the laps alone give. Two groups are
// compared by Welch's interval; a group of one lap against a group of laps
// takes the lap-to-lap spread of the other; one lap against one lap has no
// interval.
#ifndef SKIDLOG_REPORT_ANALYSIS_COMPARE_OVER_LAPS_H_
#define SKIDLOG_REPORT_ANALYSIS_COMPARE_OVER_LAPS_H_

#include <cstddef>
#include <limits>
#include <span>

#include "report/fit/bootstrap.h"
#include "report/inference/student_t.h"

namespace skidlog {

struct OverLaps {
  double mean = std::numeric_limits<double>::quiet_NaN();
  double spread = std::numeric_limits<double>::quiet_NaN();  // standard deviation over the laps (n - 1), or moderated
  double df = 0.0;  // of the spread: laps - 1, more where moderated
  std::size_t laps = 0;
  Interval ci;  // mean +- t(df) spread / sqrt(n); the mean itself with one lap

  bool known() const { return laps > 0; }
  bool hasInterval() const { return laps >= 2; }
};

// The laps' values over the group; NaN values (laps that do not give one)
// are left out.
OverLaps overLaps(std::span<const double> values);

// Takes the moderated variance of the laps' values, with its degrees of
// freedom, as the group's spread, and the interval from it. REQUIRES: two
// laps or more.
void takeModerated(OverLaps& o, double variance, double df);

// How a difference over laps found its interval.
enum class LapBasis {
  welch,           // both groups hold two or more laps
  oneAgainstMany,  // one lap, whose lap-to-lap spread is taken to be the other group's
  oneLapEach,      // no interval
  none,            // a group gives no value
};

struct LapDifference {
  double delta = std::numeric_limits<double>::quiet_NaN();  // to - from
  double standardError = std::numeric_limits<double>::quiet_NaN();
  double df = 0.0;  // of the standard error
  Interval ci;
  LapBasis basis = LapBasis::none;
  std::size_t otherLaps = 0;  // with oneAgainstMany: the laps of the group whose spread is taken
};

// `to` less `from`, with its 95 % interval: Welch's (its degrees of freedom
// rounded down, which widens it a little); with one lap on one side,
// t(df) s sqrt(1 + 1/n) of the other group's n laps and spread s. Each
// spread is taken as at least `minSpread`: laps that agree to the quantity's
// resolution have shown no variation, not none.
LapDifference differenceOverLaps(const OverLaps& from, const OverLaps& to, double minSpread = 0.0);

// The least spread a quantity resolved to `resolution` can be said to have:
// the standard deviation of its rounding, resolution over sqrt(12) (0.29
// gear for a whole gear).
double resolutionSpread(double resolution);

}  // namespace skidlog

#endif  // SKIDLOG_REPORT_ANALYSIS_COMPARE_OVER_LAPS_H_
