#include "report/laps/place/lap_path.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "numeric/elementary.h"
#include "numeric/precision.h"

namespace skidlog {
namespace {

constexpr double notReached = std::numeric_limits<double>::quiet_NaN();

double distanceBetween(double ax, double ay, double bx, double by) { return portable::hypot(ax - bx, ay - by); }

// Where point (px, py) falls on segment k of the path: its share t along the
// segment (0 to 1) and its squared distance from it.
struct OnSegment {
  double t = 0.0;
  double squared = std::numeric_limits<double>::infinity();
};

OnSegment project(const LapPath& path, std::size_t k, double px, double py) {
  const std::size_t next = k + 1;
  const double dx = path.x[next] - path.x[k], dy = path.y[next] - path.y[k];
  const double len2 = dx * dx + dy * dy;
  double t = len2 > 0.0 ? ((px - path.x[k]) * dx + (py - path.y[k]) * dy) / len2 : 0.0;
  t = std::clamp(t, 0.0, 1.0);
  const double ex = path.x[k] + t * dx - px, ey = path.y[k] + t * dy - py;
  return {t, ex * ex + ey * ey};
}

// The values of `v` at `at`, linear between the points of the increasing `s`.
double interpolate(const std::vector<double>& s, const std::vector<double>& v, double at) {
  if (s.empty() || !(at >= s.front()) || at > s.back()) return notReached;
  const auto above = std::lower_bound(s.begin(), s.end(), at);
  const auto k = static_cast<std::size_t>(above - s.begin());
  if (k == 0 || s[k] == at) return v[k];
  const double share = (at - s[k - 1]) / (s[k] - s[k - 1]);
  return v[k - 1] + share * (v[k] - v[k - 1]);
}

}  // namespace

void LapPath::positionAt(double at, double& px, double& py) const {
  px = interpolate(s, x, at);
  py = interpolate(s, y, at);
}

double LapPath::leftOf(double at, double px, double py) const {
  // The segment holding `at` (the first or last beyond the ends).
  const auto upper = std::upper_bound(s.begin(), s.end(), at);
  const std::size_t k = std::clamp<std::size_t>(static_cast<std::size_t>(upper - s.begin()), 1, s.size() - 1) - 1;
  const double dx = x[k + 1] - x[k], dy = y[k + 1] - y[k];
  const double length = portable::hypot(dx, dy);
  if (!(length > 0.0)) return 0.0;
  double ax, ay;
  positionAt(at, ax, ay);
  // The cross product of the direction with the point's offset: positive to the left.
  return (dx * (py - ay) - dy * (px - ax)) / length;
}

LapPath lapPath(std::span<const float> x, std::span<const float> y, double toLine) {
  LapPath path;
  for (std::size_t i = 0; i < x.size() && i < y.size(); ++i) {
    const double px = widen(x[i]), py = widen(y[i]);
    if (!std::isfinite(px) || !std::isfinite(py)) continue;
    if (!path.x.empty() && px == path.x.back() && py == path.y.back()) continue;
    path.s.push_back(path.x.empty() ? 0.0 : path.s.back() + distanceBetween(px, py, path.x.back(), path.y.back()));
    path.x.push_back(px);
    path.y.push_back(py);
  }
  const std::size_t n = path.x.size();
  if (n < 2) return {};
  const double step = path.s[n - 1] - path.s[n - 2];
  if (toLine > 0.0 && step > 0.0) {
    path.x.push_back(path.x[n - 1] + (path.x[n - 1] - path.x[n - 2]) / step * toLine);
    path.y.push_back(path.y[n - 1] + (path.y[n - 1] - path.y[n - 2]) / step * toLine);
    path.s.push_back(path.s[n - 1] + toLine);
  }
  if (!(path.length() <= maxPathLength)) return {};
  return path;
}

std::vector<double> alignToPath(const LapPath& path, std::span<const float> x, std::span<const float> y,
                                double interval) {
  const std::size_t n = std::min(x.size(), y.size());
  std::vector<double> distance(n, notReached);
  if (path.points() < 2) return distance;
  const std::size_t segments = path.points() - 1;
  const auto maxOff = static_cast<std::size_t>(std::ceil(maxOffPathSeconds / interval));
  std::size_t segment = 0, off = 0, end = n;
  double last = 0.0, lastX = 0.0, lastY = 0.0;
  bool started = false;
  for (std::size_t i = 0; i < n; ++i) {
    const double px = widen(x[i]), py = widen(y[i]);
    const bool finite = std::isfinite(px) && std::isfinite(py);
    if (finite && started && distanceBetween(px, py, lastX, lastY) > maxJump) {
      end = i;
      break;
    }
    OnSegment best;
    std::size_t bestSegment = segment;
    for (std::size_t k = segment; finite && k < segments && path.s[k] <= path.s[segment] + lookAhead; ++k) {
      const OnSegment on = project(path, k, px, py);
      if (on.squared < best.squared) {
        best = on;
        bestSegment = k;
      }
    }
    if (!(best.squared <= maxOffPath * maxOffPath)) {
      if (++off > maxOff) {
        end = i + 1;
        break;
      }
      distance[i] = last;
      continue;
    }
    off = 0;
    segment = bestSegment;
    const double at = path.s[segment] + best.t * (path.s[segment + 1] - path.s[segment]);
    last = std::max(last, at);
    distance[i] = last;
    lastX = px;
    lastY = py;
    started = true;
  }
  // Samples held at the last place while off the path, with nothing after
  // them on it, were never placed.
  for (std::size_t i = end - off; i < end; ++i) distance[i] = notReached;
  return distance;
}

LapClock::LapClock(const std::vector<double>& distance, double interval, double length, double lapTime,
                   bool complete) {
  for (std::size_t i = 0; i < distance.size(); ++i) {
    if (!std::isfinite(distance[i])) break;
    // Where the lap stood still on the path, its time is when it got there.
    if (!s_.empty() && distance[i] <= s_.back()) continue;
    s_.push_back(distance[i]);
    t_.push_back(static_cast<double>(i) * interval);
  }
  if (!complete || s_.empty()) return;
  // A complete lap leaves the line at 0 s and meets it again at its lap
  // time, wherever its first and last samples fall on the reference path: the
  // first sample is taken at the line (it is sample 0, as it is not off the
  // path), and samples placed at or past the line, or timed at or after the
  // lap time, give way to the line itself.
  s_.front() = 0.0;
  if (!std::isfinite(distance.back()) || !(lapTime > 0.0) || !(length > 0.0)) return;
  while (s_.size() > 1 && (s_.back() >= length || t_.back() >= lapTime)) {
    s_.pop_back();
    t_.pop_back();
  }
  s_.push_back(length);
  t_.push_back(lapTime);
}

double LapClock::timeAt(double at) const { return interpolate(s_, t_, at); }

double LapClock::distanceAt(double t) const { return interpolate(t_, s_, t); }

std::vector<double> pinToSplits(std::vector<double>& distance, const LapClock& clock,
                                std::span<const double> referencePlaces, std::span<const double> splitTimes,
                                double length, bool complete) {
  std::vector<double> from{0.0};
  std::vector<double> to{0.0};
  std::vector<double> shift;
  for (std::size_t k = 0; k < std::min(referencePlaces.size(), splitTimes.size()); ++k) {
    const double own = clock.distanceAt(splitTimes[k]);
    const double place = referencePlaces[k];
    const bool pinned = std::isfinite(own) && std::isfinite(place) && std::fabs(own - place) <= maxSplitPin &&
                        own > from.back() && place > to.back() && own < length && place < length;
    shift.push_back(pinned ? place - own : std::numeric_limits<double>::quiet_NaN());
    if (!pinned) continue;
    from.push_back(own);
    to.push_back(place);
  }
  if (from.size() == 1) return shift;
  if (complete) {
    from.push_back(length);
    to.push_back(length);
  }
  const double lastShift = to.back() - from.back();
  for (double& d : distance) {
    if (!std::isfinite(d) || d <= 0.0) continue;
    if (d >= from.back()) {
      d += lastShift;
      continue;
    }
    const std::size_t k = static_cast<std::size_t>(std::upper_bound(from.begin(), from.end(), d) - from.begin());
    // The shift, not the place, is interpolated: a lap its positions already
    // put at every split keeps its places to the bit.
    const double share = (d - from[k - 1]) / (from[k] - from[k - 1]);
    const double before = to[k - 1] - from[k - 1];
    const double after = to[k] - from[k];
    d += before + share * (after - before);
  }
  return shift;
}

}  // namespace skidlog
