// The corners of a track, found on the reference lap's path from its signed
// curvature, with hysteresis: a corner begins where the path bends tighter
// than cornerEnterRadius and ends where it straightens past cornerExitRadius.
// An S-bend is two corners; arcs of one direction less than mergeGap apart
// are one; an arc that turns less than minCornerAngle is none.
#ifndef SKIDLOG_REPORT_LAPS_CORNERS_CORNERS_H_
#define SKIDLOG_REPORT_LAPS_CORNERS_CORNERS_H_

#include <string>
#include <vector>

#include "report/laps/place/lap_path.h"

namespace skidlog {

inline constexpr double cornerEnterRadius = 250.0;  // m
inline constexpr double cornerExitRadius = 400.0;   // m
inline constexpr double mergeGap = 30.0;            // m
// A corner's angle counts the bends either side of it down to this radius.
inline constexpr double cornerFadeRadius = 1500.0;  // m
inline constexpr double minCornerAngle = 20.0;      // degrees
// The path is read every this many metres, its heading differenced over
// this far either side: wide enough to still a float position's rounding,
// narrow enough to keep a hairpin's curvature.
inline constexpr double curvatureSpacing = 2.0;  // m
inline constexpr double curvatureHalfWidth = 8.0;  // m

struct TrackCorner {
  std::string name;  // T1, T2, ... in driving order from the line
  bool left = true;  // turning counterclockwise seen from above
  double start = 0.0;  // m along the reference path
  double apex = 0.0;   // m: where half its angle is turned (its tightest point, where that is straighter)
  double end = 0.0;    // m
  double apexX = 0.0;  // world position of the apex, m
  double apexY = 0.0;
  double angleDeg = 0.0;  // turned, positive: from start to end and the fading bends beside them
  double radius = 0.0;    // at the apex, m
};

// The signed curvature of the path, 1/m (positive turning left), at every
// curvatureSpacing m from the line.
std::vector<double> pathCurvature(const LapPath& path);

// The corners of the path, in driving order.
std::vector<TrackCorner> findCorners(const LapPath& path);

}  // namespace skidlog

#endif  // SKIDLOG_REPORT_LAPS_CORNERS_CORNERS_H_
