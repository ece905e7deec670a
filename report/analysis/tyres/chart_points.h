// What a tyre's charts draw of its fitted points: each scatter thinned to the
// most points a chart takes, ordered by load class. Taken while the points
// are at hand, so that the report can give the points back once the tyres are
// fitted and still draw them.
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

// One scatter: its thinned points, those of load class 0 first, then 1, and
// so on, and how many points each class holds.
struct ScatterPoints {
  std::vector<float> x;
  std::vector<float> y;
  std::vector<std::size_t> classes;
};

struct TyreChartPoints {
  ScatterPoints lateral;       // slip angle, lateral grip: the pure lateral points
  ScatterPoints longitudinal;  // slip ratio, longitudinal grip: the pure longitudinal points
  ScatterPoints circle;        // lateral grip, longitudinal grip: every fitted point
};

// Every `step`-th index of [0, n), at most `most` of them: a thinned scatter
// keeps its density, and so its shape.
std::vector<std::size_t> thinned(std::size_t n, std::size_t most);

// The normal loads that split every wheel's points of all `points` into five
// classes of equal count.
std::vector<double> loadClassEdges(std::span<const TyrePoints* const> points);

// The tyre's three scatters, each thinned to `most` points (none when 0).
TyreChartPoints chartPoints(const TyreSource& source, const std::vector<double>& edges, std::size_t most);

}  // namespace skidlog

#endif  // SKIDLOG_REPORT_ANALYSIS_TYRES_CHART_POINTS_H_
