#include "report/analysis/tyres/chart_points.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <utility>

#include "numeric/precision.h"
#include "report/fit/statistics.h"

namespace skidlog {
namespace {

using Column = std::vector<float> WheelPoints::*;
using Subset = std::vector<PointIndex> FitSubsets::*;

// The subset's points thinned to `most`, each with its load.
ScatterPoints scatter(const TyreSource& source, Subset subset, Column x, Column y, std::size_t most) {
  const std::vector<PointIndex>& rows = source.subsets->*subset;
  const WheelPoints& p = *source.points;
  ScatterPoints out;
  for (const std::size_t k : thinned(rows.size(), most)) {
    const PointIndex i = rows[k];
    out.x.push_back((p.*x)[i]);
    out.y.push_back((p.*y)[i]);
    out.load.push_back(p.normalLoad[i]);
  }
  return out;
}

}  // namespace

std::vector<std::size_t> thinned(std::size_t n, std::size_t most) {
  std::vector<std::size_t> picked;
  if (most == 0) return picked;
  const std::size_t step = n > most ? (n + most - 1) / most : 1;
  for (std::size_t i = 0; i < n; i += step) picked.push_back(i);
  return picked;
}

std::vector<std::size_t> traceSamples(std::size_t n, std::size_t most, std::span<const std::span<const float>> channels) {
  const std::size_t perRun = 2 + 3 * channels.size();
  if (n <= most || most < perRun) return thinned(n, most);
  const std::size_t runs = std::max<std::size_t>(1, most / perRun);
  const std::size_t step = (n + runs - 1) / runs;
  std::vector<std::size_t> picked;
  for (std::size_t start = 0; start < n; start += step) {
    const std::size_t end = std::min(n, start + step), first = picked.size();
    picked.push_back(start);
    picked.push_back(end - 1);
    for (const std::span<const float> c : channels) {
      std::size_t low = start, high = start, gap = start;
      bool gapSeen = false;
      for (std::size_t i = start; i < end; ++i) {
        if (std::isnan(c[i])) {
          if (!gapSeen) gap = i;
          gapSeen = true;
          continue;
        }
        if (std::isnan(c[low]) || c[i] < c[low]) low = i;
        if (std::isnan(c[high]) || c[i] > c[high]) high = i;
      }
      picked.push_back(low);
      picked.push_back(high);
      picked.push_back(gap);
    }
    std::sort(picked.begin() + static_cast<std::ptrdiff_t>(first), picked.end());
    picked.erase(std::unique(picked.begin() + static_cast<std::ptrdiff_t>(first), picked.end()), picked.end());
  }
  return picked;
}

void ScatterPoints::classByLoad(const std::vector<double>& edges) {
  std::vector<std::vector<std::size_t>> byClass(edges.size() + 1);
  for (std::size_t i = 0; i < load.size(); ++i) {
    const double l = widen(load[i]);
    byClass[static_cast<std::size_t>(std::upper_bound(edges.begin(), edges.end(), l) - edges.begin())].push_back(i);
  }
  std::vector<float> orderedX, orderedY;
  orderedX.reserve(x.size());
  orderedY.reserve(y.size());
  classes.clear();
  for (const std::vector<std::size_t>& c : byClass) {
    for (const std::size_t i : c) {
      orderedX.push_back(x[i]);
      orderedY.push_back(y[i]);
    }
    classes.push_back(c.size());
  }
  x = std::move(orderedX);
  y = std::move(orderedY);
  load = {};
}

void TyreChartPoints::classByLoad(const std::vector<double>& edges) {
  lateral.classByLoad(edges);
  longitudinal.classByLoad(edges);
  circle.classByLoad(edges);
}

std::vector<double> loadClassEdges(std::span<const float> loads) {
  std::vector<double> edges;
  for (const double q : {0.2, 0.4, 0.6, 0.8}) edges.push_back(quantile(loads, q));
  return edges;
}

TyreChartPoints chartPoints(const TyreSource& source, std::size_t most) {
  return {scatter(source, &FitSubsets::lateral, &WheelPoints::slipAngle, &WheelPoints::lateralGrip, most),
          scatter(source, &FitSubsets::longitudinal, &WheelPoints::slipRatio, &WheelPoints::longitudinalGrip, most),
          scatter(source, &FitSubsets::all, &WheelPoints::lateralGrip, &WheelPoints::longitudinalGrip, most)};
}

}  // namespace skidlog
