#include "tools/generator/circuit.h"

#include <cmath>
#include <numbers>

namespace skidlog::generator {
namespace {

constexpr double pi = std::numbers::pi;
constexpr double degree = pi / 180.0;
constexpr double gridSpacing = 0.25;  // m

struct Arc {
  double radius;  // m
  double angle;   // rad
};

// Where a piece of constant curvature leads from (x, y, heading) after `length` m.
void advance(double length, double curvature, double& x, double& y, double& heading) {
  if (curvature == 0.0) {
    x -= std::sin(heading) * length;
    y += std::cos(heading) * length;
    return;
  }
  const double r = 1.0 / curvature;
  const double next = heading + length * curvature;
  x += r * (std::cos(next) - std::cos(heading));
  y += r * (std::sin(next) - std::sin(heading));
  heading = next;
}

}  // namespace

Circuit::Circuit(Turns turns) {
  // A rounded rectangle driven counterclockwise; with both turns, each side
  // carries a symmetric S-bend (left, right, left) that leaves the car on its
  // old line, so the loop still closes. The driver pushes to the limit in
  // the second and fourth corner and in the right-hand bends of the first
  // two S-bends. The long sides also carry fast sweepers, taken flat out
  // well below the limit: with both turns a wide S-bend, with one a bend of
  // that hand that the next corner gives back.
  const Arc cornerArcs[4] = {{30.0, 90.0 * degree}, {80.0, 90.0 * degree}, {45.0, 90.0 * degree},
                             {120.0, 90.0 * degree}};
  const bool bends = turns == Turns::both;
  std::vector<Piece> pieces;
  const auto straight = [&](double length) { pieces.push_back({length, 0.0, false}); };
  const auto arc = [&](Arc a, double side, bool pushed) {
    pieces.push_back({a.radius * a.angle, side / a.radius, pushed});
  };
  const auto sBend = [&](Arc outer, Arc inner, bool pushed) {
    arc(outer, 1.0, false);
    arc({inner.radius, 2.0 * outer.angle}, -1.0, pushed);
    arc(outer, 1.0, false);
  };
  const Arc longBendOuter{90.0, 28.0 * degree}, longBendInner{55.0, 0.0};
  const Arc shortBendOuter{150.0, 20.0 * degree}, shortBendInner{70.0, 0.0};
  const Arc sweeperOuter{550.0, 8.0 * degree}, sweeperInner{500.0, 0.0};
  const Arc sweeper{500.0, 20.0 * degree};
  std::size_t beforeCorner[4] = {};
  for (int side = 0; side < 4; ++side) {
    const bool longSide = side % 2 == 0;
    Arc corner = cornerArcs[side];
    straight(longSide ? 120.0 : 70.0);
    if (longSide && bends) sBend(sweeperOuter, sweeperInner, false);
    if (longSide && !bends) {
      arc(sweeper, 1.0, false);
      corner.angle -= sweeper.angle;
    }
    if (longSide) straight(60.0);
    if (bends) {
      if (longSide) {
        sBend(longBendOuter, longBendInner, side < 2);
      } else {
        sBend(shortBendOuter, shortBendInner, side < 2);
      }
    }
    straight(longSide ? 120.0 : 70.0);
    beforeCorner[side] = pieces.size() - 1;
    arc(corner, 1.0, side % 2 == 1);
  }
  close(pieces, beforeCorner[2], beforeCorner[3]);
  if (turns == Turns::right) {
    for (Piece& p : pieces) p.curvature = -p.curvature;
  }
  layOut(pieces);
}

// Lengthens two straights until the loop ends where it began: `alongMinusY`
// runs along -y, `alongPlusX` along +x.
void Circuit::close(std::vector<Piece>& pieces, std::size_t alongMinusY, std::size_t alongPlusX) {
  double x = 0.0, y = 0.0, heading = 0.0;
  for (const Piece& p : pieces) advance(p.length, p.curvature, x, y, heading);
  pieces[alongMinusY].length += y;
  pieces[alongPlusX].length -= x;
}

void Circuit::layOut(const std::vector<Piece>& pieces) {
  std::vector<double> starts, turnedAtStart;
  double turned = 0.0;
  for (const Piece& p : pieces) {
    starts.push_back(length_);
    turnedAtStart.push_back(turned);
    if (p.curvature != 0.0 && p.length > 0.0) {
      corners_.push_back({length_, length_ + p.length, 1.0 / std::fabs(p.curvature), p.curvature > 0.0, p.pushed});
    }
    length_ += p.length;
    turned += p.length * p.curvature;
  }
  // The angle turned from the start line to distance s, continued over laps.
  const auto turnedTo = [&](double s) {
    const double laps = std::floor(s / length_);
    double within = s - laps * length_;
    std::size_t k = pieces.size() - 1;
    while (k > 0 && starts[k] > within) --k;
    within -= starts[k];
    return laps * turned + turnedAtStart[k] + pieces[k].curvature * within;
  };
  const auto n = static_cast<std::size_t>(std::lround(length_ / gridSpacing));
  const double h = length_ / static_cast<double>(n);
  // The raw line's curvature averaged over the ramp length.
  curvature_.resize(n + 1);
  for (std::size_t k = 0; k <= n; ++k) {
    const double s = static_cast<double>(k) * h;
    curvature_[k] = (turnedTo(s + cornerRamp / 2.0) - turnedTo(s - cornerRamp / 2.0)) / cornerRamp;
  }
  // Heading and position cell by cell, the curvature linear within a cell;
  // the small closing errors of the sums are spread evenly over the lap.
  heading_.assign(n + 1, 0.0);
  for (std::size_t k = 0; k < n; ++k) heading_[k + 1] = heading_[k] + h * (curvature_[k] + curvature_[k + 1]) / 2.0;
  const double headingError = heading_[n] - turned;
  for (std::size_t k = 0; k <= n; ++k) heading_[k] -= headingError * static_cast<double>(k) / static_cast<double>(n);
  x_.assign(n + 1, 0.0);
  y_.assign(n + 1, 0.0);
  for (std::size_t k = 0; k < n; ++k) {
    const double mid = (heading_[k] + heading_[k + 1]) / 2.0 + h * (curvature_[k] - curvature_[k + 1]) / 8.0;
    x_[k + 1] = x_[k] - h / 6.0 * (std::sin(heading_[k]) + 4.0 * std::sin(mid) + std::sin(heading_[k + 1]));
    y_[k + 1] = y_[k] + h / 6.0 * (std::cos(heading_[k]) + 4.0 * std::cos(mid) + std::cos(heading_[k + 1]));
  }
  const double xError = x_[n], yError = y_[n];
  for (std::size_t k = 0; k <= n; ++k) {
    const double share = static_cast<double>(k) / static_cast<double>(n);
    x_[k] -= xError * share;
    y_[k] -= yError * share;
  }
}

std::size_t Circuit::cell(double s, double& within) const {
  const std::size_t n = curvature_.size() - 1;
  const double h = length_ / static_cast<double>(n);
  double lap = s - std::floor(s / length_) * length_;
  auto k = static_cast<std::size_t>(lap / h);
  if (k >= n) k = n - 1;
  within = (lap - static_cast<double>(k) * h) / h;
  return k;
}

double Circuit::curvature(double s) const {
  double t = 0.0;
  const std::size_t k = cell(s, t);
  return curvature_[k] + t * (curvature_[k + 1] - curvature_[k]);
}

Pose Circuit::pose(double s) const {
  double t = 0.0;
  const std::size_t k = cell(s, t);
  const double h = length_ / static_cast<double>(curvature_.size() - 1);
  // Heading: the integral of the linear curvature. Position: cubic Hermite
  // between the grid points with the heading's direction as the tangent.
  Pose p;
  const double turn = h * t * (curvature_[k] + t * (curvature_[k + 1] - curvature_[k]) / 2.0);
  p.heading = heading_[k] + turn;
  const double h00 = (1.0 + 2.0 * t) * (1.0 - t) * (1.0 - t), h10 = t * (1.0 - t) * (1.0 - t);
  const double h01 = t * t * (3.0 - 2.0 * t), h11 = t * t * (t - 1.0);
  p.x = h00 * x_[k] + h10 * h * -std::sin(heading_[k]) + h01 * x_[k + 1] + h11 * h * -std::sin(heading_[k + 1]);
  p.y = h00 * y_[k] + h10 * h * std::cos(heading_[k]) + h01 * y_[k + 1] + h11 * h * std::cos(heading_[k + 1]);
  return p;
}

double Circuit::altitude(double s) const { return 12.0 + 3.0 * std::sin(2.0 * pi * s / length_); }

double Circuit::slope(double s) const { return std::atan(3.0 * 2.0 * pi / length_ * std::cos(2.0 * pi * s / length_)); }

}  // namespace skidlog::generator
