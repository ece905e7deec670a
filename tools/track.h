// The generator's closed track, the car's drive around it, and its noise.
#ifndef SKIDLOG_TOOLS_TRACK_H_
#define SKIDLOG_TOOLS_TRACK_H_

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace skidlog::tools {

// Deterministic noise on every platform: splitmix64 and Box-Muller.
class Noise {
 public:
  explicit Noise(std::uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 1) {}
  double uniform() {  // [0, 1)
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return static_cast<double>((z ^ (z >> 31)) >> 11) * 0x1p-53;
  }
  double gauss(double sigma) {
    const double u = 1.0 - uniform();
    return sigma * std::sqrt(-2.0 * std::log(u)) * std::cos(6.283185307179586 * uniform());
  }

 private:
  std::uint64_t state_;
};

// A segment of road: straight (curvature 0) or an arc, positive to the left.
struct Segment {
  double length;     // m
  double curvature;  // 1/m
  double x, y, heading;  // pose at its start; heading 0 faces world +y
  double start;      // distance from the start line, m
};

// A rounded rectangle with a chicane in its long straight, corner radii drawn
// from the seed; it closes exactly, so every lap follows the same line.
class Track {
 public:
  explicit Track(std::uint64_t seed) {
    Noise n(seed);
    const double width = 420.0 + 120.0 * n.uniform();
    double radius[4];
    for (double& r : radius) r = 25.0 + 95.0 * n.uniform();
    const double chicaneRadius = 140.0;
    const double chicaneAngle = 0.35;
    const double chicaneReach = 4.0 * chicaneRadius * std::sin(chicaneAngle);
    const double height = radius[3] + radius[0] + chicaneReach + 120.0 + 80.0 * n.uniform();
    const double half = (height - radius[3] - radius[0] - chicaneReach) / 2.0;
    add(half, 0.0);
    add(chicaneRadius * chicaneAngle, 1.0 / chicaneRadius);
    add(2.0 * chicaneRadius * chicaneAngle, -1.0 / chicaneRadius);
    add(chicaneRadius * chicaneAngle, 1.0 / chicaneRadius);
    add(half, 0.0);
    const double quarter = 1.5707963267948966;
    add(radius[0] * quarter, 1.0 / radius[0]);
    add(width - radius[0] - radius[1], 0.0);
    add(radius[1] * quarter, 1.0 / radius[1]);
    add(height - radius[1] - radius[2], 0.0);
    add(radius[2] * quarter, 1.0 / radius[2]);
    add(width - radius[2] - radius[3], 0.0);
    add(radius[3] * quarter, 1.0 / radius[3]);
  }

  double length() const { return length_; }
  const std::vector<Segment>& segments() const { return segments_; }

  // The segment holding lap distance s (0 <= s < length).
  const Segment& at(double s) const {
    std::size_t k = 0;
    while (k + 1 < segments_.size() && segments_[k + 1].start <= s) ++k;
    return segments_[k];
  }

  // Position and heading at lap distance s.
  void pose(double s, double& x, double& y, double& heading) const {
    const Segment& g = at(s);
    advance(g, s - g.start, x, y, heading);
  }

 private:
  void add(double length, double curvature) {
    Segment g{length, curvature, 0.0, 0.0, 0.0, length_};
    if (!segments_.empty()) {
      const Segment& p = segments_.back();
      advance(p, p.length, g.x, g.y, g.heading);
    }
    segments_.push_back(g);
    length_ += length;
  }

  static void advance(const Segment& g, double d, double& x, double& y, double& heading) {
    if (g.curvature == 0.0) {
      x = g.x - std::sin(g.heading) * d;
      y = g.y + std::cos(g.heading) * d;
      heading = g.heading;
      return;
    }
    const double r = 1.0 / g.curvature;
    heading = g.heading + d * g.curvature;
    x = g.x + r * (std::cos(heading) - std::cos(g.heading));
    y = g.y + r * (std::sin(heading) - std::sin(g.heading));
  }

  std::vector<Segment> segments_;
  double length_ = 0.0;
};

struct CarState {
  double x, y, z;
  double heading, slope;
  double speed;                    // m/s
  double curvature;                // 1/m, positive to the left
  double longitudinalAcceleration; // m/s^2
  double lateralAcceleration;      // m/s^2, positive to the left
};

// Drives the track as fast as grip allows: at most 60 m/s, curves at 9 m/s^2
// lateral, braking at 8 m/s^2 and accelerating at up to 4 m/s^2.
class Drive {
 public:
  explicit Drive(const Track& track) : track_(track) { speed_ = allowedSpeed(0.0) * 0.8 + 2.0; }

  CarState state() const {
    CarState c{};
    track_.pose(distance_, c.x, c.y, c.heading);
    const double phase = 6.283185307179586 * distance_ / track_.length();
    c.z = 12.0 + 3.0 * std::sin(phase);
    c.slope = std::atan(3.0 * 6.283185307179586 / track_.length() * std::cos(phase));
    c.speed = speed_;
    c.curvature = track_.at(distance_).curvature;
    c.longitudinalAcceleration = acceleration_;
    c.lateralAcceleration = speed_ * speed_ * c.curvature;
    return c;
  }

  void step(double dt) {
    const double limit = allowedSpeed(distance_);
    double next = speed_;
    if (speed_ < limit) {
      next = std::fmin(limit, speed_ + 4.0 * (1.0 - speed_ / 75.0) * dt);
    } else {
      next = std::fmax(limit, speed_ - 8.0 * dt);
    }
    acceleration_ = (next - speed_) / dt;
    distance_ += 0.5 * (speed_ + next) * dt;
    while (distance_ >= track_.length()) distance_ -= track_.length();
    speed_ = next;
  }

 private:
  static double cornerSpeed(const Segment& g) {
    if (g.curvature == 0.0) return 60.0;
    return std::fmax(5.0, std::fmin(60.0, std::sqrt(9.0 / std::fabs(g.curvature))));
  }

  // The fastest speed at s from which every segment ahead (one lap) can still
  // be reached at its own speed by braking at 8 m/s^2.
  double allowedSpeed(double s) const {
    double best = cornerSpeed(track_.at(s));
    for (const Segment& g : track_.segments()) {
      double ahead = g.start - s;
      if (ahead <= 0.0) ahead += track_.length();
      const double v = cornerSpeed(g);
      best = std::fmin(best, std::sqrt(v * v + 2.0 * 8.0 * ahead));
    }
    return best;
  }

  const Track& track_;
  double distance_ = 0.0;
  double speed_ = 0.0;
  double acceleration_ = 0.0;
};

}  // namespace skidlog::tools

#endif  // SKIDLOG_TOOLS_TRACK_H_
