// The generator's circuit: a closed loop of straights and corners of several
// radii, turning left, right or both ways, with curvature that ramps into and
// out of each corner as a real road does (no step in lateral acceleration).
#ifndef SKIDLOG_TOOLS_GENERATOR_CIRCUIT_H_
#define SKIDLOG_TOOLS_GENERATOR_CIRCUIT_H_

#include <cstddef>
#include <vector>

namespace skidlog::generator {

enum class Turns { both, left, right };

// Corners are entered and left over this distance, m: the curvature ramps
// linearly from the straight's to the arc's, as on a clothoid.
inline constexpr double cornerRamp = 16.0;

// One corner of the lap: a constant-radius arc between two distances.
struct Corner {
  double start = 0.0;   // lap distance where its arc begins, m
  double end = 0.0;     // where it ends, m
  double radius = 0.0;  // m
  bool left = true;
  bool pushed = false;  // the driver takes it at the car's limit
};

// A point of the driven line. Heading 0 faces world +y; positive is to the
// left (counterclockwise seen from above).
struct Pose {
  double x = 0.0;
  double y = 0.0;
  double heading = 0.0;  // rad
};

class Circuit {
 public:
  explicit Circuit(Turns turns);

  double length() const { return length_; }
  const std::vector<Corner>& corners() const { return corners_; }

  // Curvature of the driven line at lap distance s (any s: laps repeat), 1/m,
  // positive turning left.
  double curvature(double s) const;
  // Position and heading at distance s; every lap lies on the same line.
  Pose pose(double s) const;
  // Altitude, m, and the road's slope (rad, positive uphill) at distance s.
  double altitude(double s) const;
  double slope(double s) const;

 private:
  struct Piece {
    double length;
    double curvature;
    bool pushed;
  };
  static void close(std::vector<Piece>& pieces, std::size_t alongMinusY, std::size_t alongPlusX);
  void layOut(const std::vector<Piece>& pieces);
  std::size_t cell(double s, double& within) const;

  double length_ = 0.0;
  std::vector<Corner> corners_;
  // The line on a fine grid: curvature, heading and position at k * spacing.
  std::vector<double> curvature_;
  std::vector<double> heading_;
  std::vector<double> x_;
  std::vector<double> y_;
};

}  // namespace skidlog::generator

#endif  // SKIDLOG_TOOLS_GENERATOR_CIRCUIT_H_
