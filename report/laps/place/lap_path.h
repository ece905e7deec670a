// Laps read by place: the reference lap's path, every lap's samples placed
// along it by projection (not by integrating speed, which drifts by tens of
// metres over a lap), and a lap's time at any place.
#ifndef SKIDLOG_REPORT_LAPS_PLACE_LAP_PATH_H_
#define SKIDLOG_REPORT_LAPS_PLACE_LAP_PATH_H_

#include <cstddef>
#include <span>
#include <vector>

namespace skidlog {

// A sample further than this from the reference path is off it, m.
inline constexpr double maxOffPath = 30.0;
// A lap is followed no further once it has been off the path this long, s,
// or has jumped this far between two samples, m.
inline constexpr double maxOffPathSeconds = 1.0;
inline constexpr double maxJump = 60.0;
// How far ahead along the path the next sample's place is looked for, m: far
// enough for 100 ms at any speed, too short to reach a part of the track that
// passes close by (a hairpin's other side, the start line beside the finish).
inline constexpr double lookAhead = 40.0;
// The longest path taken for a lap, m: a damaged file's positions can run to
// 10^38 m.
inline constexpr double maxPathLength = 100000.0;

// The reference lap's path: its samples' world positions (x, y) and the
// distance along the path to each, from its first sample at the line; its
// last point is the line again, straight on from its last sample.
struct LapPath {
  std::vector<double> x;
  std::vector<double> y;
  std::vector<double> s;  // m; s[k] for point k, s.back() the length to the line again
  double length() const { return s.empty() ? 0.0 : s.back(); }
  std::size_t points() const { return x.size(); }
  // The world position at distance `at` along the path.
  void positionAt(double at, double& px, double& py) const;
  // How far the point (px, py) lies to the left of the path at distance
  // `at` along it (negative: to the right), m, across the path's direction
  // there. REQUIRES: points() >= 2.
  double leftOf(double at, double px, double py) const;
};

// The path of a lap's positions, and `toLine` m on from its last sample to
// the line (the way the car went last: its first sample is the line, but
// never quite where the last one ends). A sample that is not finite, or lies
// where the one before does, is passed over. Empty where the path is longer
// than maxPathLength.
LapPath lapPath(std::span<const float> x, std::span<const float> y, double toLine);

// The distance along `path` of every sample of a lap, never less than the
// sample before's: each sample's place is the nearest point of the path within
// lookAhead of the last one's. NaN from the first sample where the lap leaves
// the path (off it for maxOffPathSeconds, or a jump of maxJump) to its end.
std::vector<double> alignToPath(const LapPath& path, std::span<const float> x, std::span<const float> y,
                                double interval);

// A lap's time at a place: its samples' times against their distances along
// the reference path. A complete lap is at 0 m at 0 s and at the line (the
// reference path's length) at its recorded lap time, so its times between
// any places add up to its lap time.
class LapClock {
 public:
  // `distance` as alignToPath gives it; sample i at i x interval s.
  LapClock(const std::vector<double>& distance, double interval, double length, double lapTime, bool complete);

  // The time, s, at which the lap reached `at` m along the path; NaN where it
  // did not get that far.
  double timeAt(double at) const;
  // The distance the lap had reached at time `t`, m; NaN past its end.
  double distanceAt(double t) const;
  // How far the lap got, m.
  double reach() const { return s_.empty() ? 0.0 : s_.back(); }

 private:
  std::vector<double> s_;
  std::vector<double> t_;
};

// A split is a line across the track, one place for every lap; but a lap
// whose line lies apart from the reference's can be placed metres before or
// after it at its recorded split time (6.4 m on a front-drive lap at
// Blackwood). Moves the lap's places, `distance` as alignToPath gives it, so
// that it passes `referencePlaces[k]` at `splitTimes[k]`: linearly between the
// line, the splits it reached and, for a complete lap, the line again, and by
// the last split's shift beyond it. A split its positions put more than
// maxSplitPin from the reference's is left as the positions say. Returns each
// split's shift, m (NaN where it was not pinned).
inline constexpr double maxSplitPin = 25.0;
std::vector<double> pinToSplits(std::vector<double>& distance, const LapClock& clock,
                                std::span<const double> referencePlaces, std::span<const double> splitTimes,
                                double length, bool complete);

}  // namespace skidlog

#endif  // SKIDLOG_REPORT_LAPS_PLACE_LAP_PATH_H_
