// What the charts draw of many points: a tyre's scatters, each thinned to the
// most points a chart takes and ordered by load class, taken while the
// points are at hand, so that the report can give the points back once the
// tyres are fitted and still draw them; and a long trace's samples.
#ifndef SKIDLOG_REPORT_ANALYSIS_TYRES_CHART_POINTS_H_
#define SKIDLOG_REPORT_ANALYSIS_TYRES_CHART_POINTS_H_

#include <cstddef>
#include <span>
#include <vector>

#include "report/analysis/tyres/tyre_analysis.h"
#include "report/analysis/tyres/tyre_points.h"

namespace skidlog {

// The most points a chart draws; the fits use every point.
inline constexpr std::size_t maxChartPoints = 20000;

// One scatter: its thinned points, taken with each point's load; once the
// load classes of every group are known, those of class 0 first, then 1, and
// so on, and how many points each class holds.
struct ScatterPoints {
  std::vector<float> x;
  std::vector<float> y;
  std::vector<float> load;           // N, each point's, until classed
  std::vector<std::size_t> classes;  // once classed

  // Orders the points by the load classes `edges` split the loads into, each
  // class in the order it was taken, and gives back the loads.
  void classByLoad(const std::vector<double>& edges);
};

struct TyreChartPoints {
  ScatterPoints lateral;       // slip angle, lateral grip: the pure lateral points
  ScatterPoints longitudinal;  // slip ratio, longitudinal grip: the pure longitudinal points
  ScatterPoints circle;        // lateral grip, longitudinal grip: every fitted point

  void classByLoad(const std::vector<double>& edges);
};

// Every `step`-th index of [0, n), at most `most` of them: a thinned scatter
// keeps its density, and so its shape.
std::vector<std::size_t> thinned(std::size_t n, std::size_t most);

// The samples of n a trace over time keeps, at most `most`, in order: all of
// them when they fit; else, in each run of consecutive samples, its first and
// last, each channel's lowest and highest, and its first gap (NaN), so that no
// peak and no gap of any channel is lost. The chart then takes each pixel
// column's lowest and highest itself. With `most` below what one run keeps,
// thinned's. REQUIRES: every channel holds n values.
std::vector<std::size_t> traceSamples(std::size_t n, std::size_t most, std::span<const std::span<const float>> channels);

// The normal loads that split `loads` (every wheel's points of every group)
// into five classes of equal count.
std::vector<double> loadClassEdges(std::span<const float> loads);

// The tyre's three scatters, each thinned to `most` points (none when 0),
// not yet classed.
TyreChartPoints chartPoints(const TyreSource& source, std::size_t most);

}  // namespace skidlog

#endif  // SKIDLOG_REPORT_ANALYSIS_TYRES_CHART_POINTS_H_
