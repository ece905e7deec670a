// A session of drivers on one track: who is faster, by how much, how sure,
// and where. Each group (a driver, a setup) is ranked by its pace, the mean
// of its valid laps, with an interval that holds at two laps a driver (each
// driver's lap-to-lap spread moderated toward the field's), its gap to the
// fastest, and a range of ranks from its pace's uncertainty. Per corner each
// group's time against the fastest group's, claimed at a false discovery
// rate over the group's corners; and where the faster third of the field
// gains, with the drivers, not their laps, as the units.
#ifndef SKIDLOG_REPORT_LAPS_SESSION_SESSION_H_
#define SKIDLOG_REPORT_LAPS_SESSION_SESSION_H_

#include <cmath>
#include <cstddef>
#include <limits>
#include <span>
#include <string>
#include <vector>

#include "report/analysis/compare/differences.h"
#include "report/analysis/compare/over_laps.h"
#include "report/analysis/report_group.h"
#include "report/fit/bootstrap.h"

namespace skidlog {

struct TrackAnalysis;

// A lap slower than this share of its driver's fastest complete lap is left
// out of his pace: a spin, an off, a lap in traffic.
inline constexpr double slowLapShare = 1.07;
// The draws the range of ranks is found from.
inline constexpr std::size_t rankDraws = 10000;

// A replay left out of its group's pace, and why: it gives no lap (no
// split times), ends `amount` m before the line, misses samples of its
// recorded lap time, or is slower than slowLapShare of its driver's fastest
// (by `amount` s).
struct LeftOut {
  enum class Why { noLap, incomplete, samplesMissing, slow };
  std::string file;
  Why why = Why::noLap;
  double amount = 0.0;  // incomplete: m before the line; slow: s over the driver's fastest
};

// A number over a group's valid laps with its spread and degrees of freedom:
// its own (moderated) over two laps or more, the field's for one lap.
struct Pace {
  double mean = std::numeric_limits<double>::quiet_NaN();
  double spread = std::numeric_limits<double>::quiet_NaN();
  double df = 0.0;
  std::size_t laps = 0;
  Interval ci{std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::quiet_NaN()};

  bool known() const { return laps > 0; }
  bool hasInterval() const { return df > 0.0 && std::isfinite(spread); }
};

// The difference of two paces, `to` less `from`, with its 95 % interval
// (Welch and Satterthwaite); no interval where either has none.
struct Gap {
  double delta = std::numeric_limits<double>::quiet_NaN();
  double standardError = std::numeric_limits<double>::quiet_NaN();
  double df = 0.0;
  Interval ci{std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::quiet_NaN()};

  bool hasInterval() const { return df > 0.0; }
};
Gap gapBetween(const Pace& from, const Pace& to);

struct SessionGroup {
  std::size_t group = 0;
  std::vector<std::size_t> validLaps;  // into the track's laps
  std::vector<LeftOut> leftOut;
  Pace pace;                   // s, over the valid laps
  double bestLap = std::numeric_limits<double>::quiet_NaN();        // s, its fastest valid lap
  double bestOfSegments = std::numeric_limits<double>::quiet_NaN();  // s
  double consistency = std::numeric_limits<double>::quiet_NaN();    // s, the standard deviation of its valid laps
  Interval consistencyCi{std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::quiet_NaN()};
  Gap gap;                     // to the fastest group's pace
  std::size_t rank = 0;        // from 1; 0 without a valid lap
  std::size_t rankLow = 0;     // the 95 % range of its rank; 0 where unknown
  std::size_t rankHigh = 0;
  std::vector<std::size_t> variesMost;  // corners, its largest lap-to-lap spread of corner time first
  std::vector<double> variesBy;         // s, their spreads
};

// One group's time at one corner against the fastest group's there: its
// interval at the level its group's claims allow, and its verdict.
struct SessionCell {
  std::size_t corner = 0;
  Difference time;  // its segment's time, s: from the fastest group to this one
};

// What the faster third of the field does differently at a corner.
struct FastGain {
  std::size_t corner = 0;
  std::size_t key = 0;  // a corner number
  Difference delta;     // the faster drivers' mean less the others'
  bool leftHand = true;  // the corner turns left: steering counts toward it
};

struct Session {
  std::vector<SessionGroup> groups;  // one per group of the report, in its order
  std::size_t fastest = 0;           // the group of the fastest pace
  bool ranked = false;               // some group has a valid lap
  std::vector<SessionCell> cells;    // per corner, per group
  std::vector<std::size_t> fastGroups;  // the faster third, by pace
  std::vector<FastGain> fastGain;
  // What the session cannot give: a one-lap driver's pace interval (no
  // other driver's laps give a spread), the ranks' ranges, where the faster
  // third gains (fewer than six drivers with a valid lap).
  bool paceWithoutInterval = false;
  bool noRankRanges = false;
  bool tooFewForFasterThird = false;
};

// The session of `track`'s laps. REQUIRES: the track analysed, its spreads
// moderated; `groups` are the report's.
Session analyseSession(const TrackAnalysis& track, std::span<const ReportGroup> groups);

// In a comparison, what the session asks that the comparison answers takes
// the comparison's answer, one number with one interval: a group's gap to the
// fastest is its lap-time difference, and each corner's cell its segment-time
// difference, where one of the two is the first group (mirrored where the
// first is the slower). Pairs the comparison does not hold keep the
// session's own. `prefix` is the track's name and a space where the report
// holds several tracks.
void takeComparison(Session& session, const TrackAnalysis& track, const std::vector<Difference>& differences,
                    const std::string& prefix);

}  // namespace skidlog

#endif  // SKIDLOG_REPORT_LAPS_SESSION_SESSION_H_
