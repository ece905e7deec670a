// What differs between groups: for every wheel and axle, each number the data
// determines, the later group's minus the first's, with a 95 % interval from
// the two groups' independent resamples; for the numbers with one value per
// lap, an interval over laps. A verdict claims a difference only where the
// interval leaves zero out.
#ifndef SKIDLOG_REPORT_ANALYSIS_COMPARE_DIFFERENCES_H_
#define SKIDLOG_REPORT_ANALYSIS_COMPARE_DIFFERENCES_H_

#include <cstddef>
#include <limits>
#include <span>
#include <string>
#include <vector>
#include <string_view>

#include "report/analysis/compare/over_laps.h"
#include "report/analysis/tyres/tyre_analysis.h"

namespace skidlog {

struct ReportGroup;

// A group's laps at a limit (the brake floored, no coasting): how many of
// how many, and their mean.
struct LimitCount {
  std::size_t group = 0;
  std::size_t atLimit = 0;
  std::size_t laps = 0;
  double mean = std::numeric_limits<double>::quiet_NaN();
};

// One axle's tyre types on each side; `axle` named only where the difference
// is the car's balance.
struct AxleTyres {
  std::string axle;
  std::string from;
  std::string to;
};

// Why a difference's verdict is what it is, where that is not plain: the
// reason and what it counts. The output states it in words.
struct DifferenceNote {
  enum class Reason {
    oneLapEach,            // no interval: the laps' own variation is not known
    oneLapAgainst,         // one lap's variation taken to be the other group's (`laps`)
    blocksOfOneLap,        // one lap on each side: the interval resamples each lap's blocks
    largestTravelPerLap,   // each lap's largest share of the travel, compared over laps
    slipAtOtherInterval,   // the groups' sample intervals read the longitudinal slip differently
    loadAtOtherInterval,   // and the load
    tyreTypesDiffer,       // the difference is the tyres' type as well (`tyres`)
    bothAtLimit,           // every lap of both at the same limit (`limits`, `brake`)
    atLimit,               // laps at a limit show no spread (`limits`, `brake`)
    gearboxesDiffer,       // first gear's overall ratios differ (`ratios`)
  };
  explicit DifferenceNote(Reason why, std::size_t otherLaps = 0) : reason(why), laps(otherLaps) {}

  Reason reason;
  std::size_t laps = 0;
  bool brake = false;  // the limit is full brake; else no coasting
  LimitCount limits[2];
  double ratios[2] = {0.0, 0.0};
  std::vector<AxleTyres> tyres;
};

// Where a difference's laps disagree past what its quantity can be: the
// group whose laps spread most and by how much, and of its laps the one
// furthest from the other group's mean, with the mean of its own others.
struct Disagreement {
  std::size_t group = 0;
  std::size_t laps = 0;  // 0: not known
  double spread = std::numeric_limits<double>::quiet_NaN();  // their standard deviation, in the quantity's unit
  std::string lap;  // that lap's file name; empty where not known
  double lapValue = std::numeric_limits<double>::quiet_NaN();
  double othersMean = std::numeric_limits<double>::quiet_NaN();  // of the group's other laps
};

struct Difference {
  std::size_t from = 0;  // the group compared with (the first)
  std::size_t to = 0;
  std::string where;     // a wheel (FL ... RR), an axle (front, rear), or the balance
  std::string curve;     // lateral or longitudinal; empty for the balance
  std::string quantity;  // peak_grip, peak_slip, cornering_stiffness, load_sensitivity or understeer_gradient
  std::string phase;     // of a corner's phase number: entry, middle or exit; else empty
  std::string wheel;     // of a corner's phase number per wheel: FL ... RR; else empty
  double fromValue = 0.0;
  double toValue = 0.0;
  // Of a difference over laps: the laps of each side it stands on (a lap
  // that does not brake into a corner gives no braking point); 0 otherwise.
  std::size_t fromLaps = 0;
  std::size_t toLaps = 0;
  Estimate delta;        // to - from, with its interval
  Estimate relative;     // to / from - 1, where a ratio reads better (grip, stiffness); else unknown
  std::string verdict;   // one of the verdicts below
  bool hasInterval = true;         // false where one lap stands against one lap
  // Of a difference over laps: its standard error and degrees of freedom,
  // from which its interval takes the level its comparison's claims allow.
  double standardError = std::numeric_limits<double>::quiet_NaN();
  double df = 0.0;
  double resolution = 0.0;         // below which it is never claimed
  // The most it can be, from what its quantity can take on its track: an
  // interval past it says the laps disagree, not how large the difference is.
  double reach = std::numeric_limits<double>::infinity();
  Disagreement disagreement;       // whose laps disagree most, where reach is finite
  std::vector<DifferenceNote> notes;  // why the verdict is what it is, where that is not plain

  // How large it is, to sort by: the relative difference where there is one.
  double size() const;
};

inline constexpr const char* higher = "higher";
inline constexpr const char* lower = "lower";
inline constexpr const char* noDifferenceShown = "no difference shown";
inline constexpr const char* oneLapEach = "one lap each: no interval";
inline constexpr const char* notComparable = "not comparable";
inline constexpr const char* lapsDisagree = "laps disagree";
inline constexpr const char* belowResolution = "below the resolution";

// Whether a verdict claims a difference.
inline bool claimed(const std::string& verdict) { return verdict == higher || verdict == lower; }

// Every later group against the first, and their understeer gradients. Peak
// grip and slip are compared only where both groups reach the peak. Sorted:
// differences shown first, each kind largest first.
std::vector<Difference> compareGroups(std::span<const ReportGroup> groups);

// Which groups and which place (a wheel, an axle, the balance, a corner) a
// comparison is of.
struct Place {
  std::size_t from;
  std::size_t to;
  std::string where;
};

// One number of two groups compared, `to` less `from`, its interval from the
// pairs of their replicates; `relative` where a ratio reads better than a
// difference. `curve` empty where the number belongs to no curve.
Difference compare(const Estimate& from, const Estimate& to, bool relative, const Place& place, const char* curve,
                   const char* quantity);

// The least difference of `quantity` that may be claimed: its resolution in
// the quantity table, or its grain (the finest step it is measured to)
// where that is coarser.
double claimableFrom(std::string_view quantity, double grain);

// One number with a value per lap compared between two groups, `to` less
// `from`, with its interval over laps (see differenceOverLaps). No spread is
// taken as smaller than `grain`, the finest step the number is measured to
// (1 ms, 0.01 m/s), allows; a difference smaller than its quantity's
// resolution (report/quantity/quantities.h) or the grain is never claimed,
// however narrow its interval.
Difference compareOverLaps(const OverLaps& from, const OverLaps& to, const Place& place, const char* quantity,
                           double grain);

// Withholds a claim of a difference smaller than `resolution`, the
// quantity's own unit, however narrow its interval, and says so: its verdict
// is "below the resolution" and it keeps no interval, since one that leaves
// zero out would read as a claim.
void holdBelowResolution(Difference& d, double resolution);

// Withholds the interval of a difference that passes its reach: the laps
// it stands on disagree so much (a slide, another gear) that no interval
// over them says anything. It claims nothing; its `disagreement` says whose
// laps.
void holdPastReach(Difference& d);

// Differences shown first, each kind largest first; otherwise in order.
void sortDifferences(std::vector<Difference>& differences);

// The verdict an interval of a difference gives; none from an interval of
// no width.
const char* verdictOf(const Interval& ci);

}  // namespace skidlog

#endif  // SKIDLOG_REPORT_ANALYSIS_COMPARE_DIFFERENCES_H_
