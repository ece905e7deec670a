#include "report/laps/corners/corners.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

#include "numeric/elementary.h"

namespace skidlog {
namespace {

// An arc of one direction: where its curvature passes the entry threshold,
// widened to where it falls below the exit one.
struct Arc {
  std::size_t first = 0;  // grid points, inclusive
  std::size_t last = 0;
  bool left = true;
};

// Whether the path bends toward `left` at grid point j, tighter than `radius`.
bool bendsTighter(const std::vector<double>& k, std::size_t j, bool left, double radius) {
  return (k[j] > 0.0) == left && std::fabs(k[j]) >= 1.0 / radius;
}

std::vector<Arc> arcsOf(const std::vector<double>& k) {
  std::vector<Arc> arcs;
  const std::size_t n = k.size();
  std::size_t i = 0;
  while (i < n) {
    if (std::fabs(k[i]) < 1.0 / cornerEnterRadius) {
      ++i;
      continue;
    }
    const bool left = k[i] > 0.0;
    const auto bends = [&](std::size_t j) { return bendsTighter(k, j, left, cornerExitRadius); };
    std::size_t first = i, last = i;
    while (first > 0 && bends(first - 1) && (arcs.empty() || first - 1 > arcs.back().last)) --first;
    while (last + 1 < n && bends(last + 1)) ++last;
    arcs.push_back({first, last, left});
    i = last + 1;
  }
  return arcs;
}

// The angle an arc turns, rad, over it and the fading bends either side of
// it (down to cornerFadeRadius), as far as the arcs beside it.
double turned(const std::vector<double>& k, const Arc& a, std::size_t from, std::size_t to) {
  const auto fading = [&](std::size_t j) { return bendsTighter(k, j, a.left, cornerFadeRadius); };
  std::size_t first = a.first, last = a.last;
  while (first > from && fading(first - 1)) --first;
  while (last + 1 < to && fading(last + 1)) ++last;
  double sum = 0.0;
  for (std::size_t j = first; j <= last; ++j) sum += k[j] * curvatureSpacing;
  return sum;
}

}  // namespace

std::vector<double> pathCurvature(const LapPath& path) {
  const double length = path.length();
  if (!(length > 2.0 * curvatureHalfWidth)) return {};
  const auto n = static_cast<std::size_t>(length / curvatureSpacing);
  std::vector<double> heading(n);
  double previous = 0.0;
  for (std::size_t j = 0; j < n; ++j) {
    double x0, y0, x1, y1;
    const double at = static_cast<double>(j) * curvatureSpacing;
    path.positionAt(at, x0, y0);
    path.positionAt(std::min(at + curvatureSpacing, length), x1, y1);
    double h = portable::atan2(y1 - y0, x1 - x0);
    // Unwrapped: each heading within half a turn of the one before.
    if (j > 0) h += 2.0 * std::numbers::pi * std::round((previous - h) / (2.0 * std::numbers::pi));
    heading[j] = previous = h;
  }
  const auto half = static_cast<std::size_t>(curvatureHalfWidth / curvatureSpacing);
  std::vector<double> k(n, 0.0);
  for (std::size_t j = 0; j < n; ++j) {
    const std::size_t from = j >= half ? j - half : 0, to = std::min(n - 1, j + half);
    if (to > from) k[j] = (heading[to] - heading[from]) / (static_cast<double>(to - from) * curvatureSpacing);
  }
  return k;
}

std::vector<TrackCorner> findCorners(const LapPath& path) {
  const std::vector<double> k = pathCurvature(path);
  std::vector<Arc> arcs = arcsOf(k);
  // Arcs of one direction a short run apart are one corner.
  std::vector<Arc> merged;
  for (const Arc& a : arcs) {
    if (!merged.empty() && merged.back().left == a.left &&
        static_cast<double>(a.first - merged.back().last) * curvatureSpacing < mergeGap) {
      merged.back().last = a.last;
    } else {
      merged.push_back(a);
    }
  }
  std::vector<TrackCorner> corners;
  for (std::size_t m = 0; m < merged.size(); ++m) {
    const Arc& a = merged[m];
    const std::size_t from = m > 0 ? merged[m - 1].last + 1 : 0;
    const std::size_t to = m + 1 < merged.size() ? merged[m + 1].first : k.size();
    const double angle = turned(k, a, from, to);
    if (std::fabs(angle) * 180.0 / std::numbers::pi < minCornerAngle) continue;
    TrackCorner c;
    c.left = a.left;
    c.start = static_cast<double>(a.first) * curvatureSpacing;
    c.end = static_cast<double>(a.last + 1) * curvatureSpacing;
    c.angleDeg = std::fabs(angle) * 180.0 / std::numbers::pi;
    // The apex: where half the angle between its ends is turned.
    double half = 0.0, sum = 0.0;
    for (std::size_t j = a.first; j <= a.last; ++j) half += k[j] * curvatureSpacing / 2.0;
    std::size_t apex = a.first;
    for (std::size_t j = a.first; j <= a.last; ++j) {
      sum += k[j] * curvatureSpacing;
      apex = j;
      if (std::fabs(sum) >= std::fabs(half)) break;
    }
    // A corner is one where it bends tighter than cornerEnterRadius: where
    // its half-way point is straighter (arcs joined across a straighter
    // middle, a long arc tight at its ends), its apex is its tightest point.
    if (std::fabs(k[apex]) < 1.0 / cornerEnterRadius) {
      for (std::size_t j = a.first; j <= a.last; ++j) {
        if (std::fabs(k[j]) > std::fabs(k[apex])) apex = j;
      }
    }
    c.apex = static_cast<double>(apex) * curvatureSpacing;
    c.radius = std::fabs(k[apex]) > 0.0 ? 1.0 / std::fabs(k[apex]) : 0.0;
    path.positionAt(c.apex, c.apexX, c.apexY);
    // Formatted into a buffer: GCC 12 warns falsely of an overlapping copy in
    // "T" + std::to_string(...).
    char name[24];
    std::snprintf(name, sizeof name, "T%zu", corners.size() + 1);
    c.name = name;
    corners.push_back(std::move(c));
  }
  return corners;
}

}  // namespace skidlog
