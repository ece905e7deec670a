#include "report/laps/phases/corner_phases.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "numeric/precision.h"
#include "report/fit/statistics.h"

namespace skidlog {
namespace {

// The corner's lateral acceleration, g, in size, each sample the mean over
// lateralSmoothingSeconds around it of the finite ones (a kerb or a bump
// must not make the peak, nor a damaged sample every later mean), from the
// lap's `first` sample; 0 where a window holds none.
std::vector<double> smoothedLateral(const PhaseSamples& s) {
  // A damaged header's interval may be anything: no smoothing without a sound one.
  const double samples = lateralSmoothingSeconds / s.interval / 2.0;
  const auto half = samples >= 0.0 && samples <= 1e6 ? static_cast<std::size_t>(std::lround(samples)) : 0;
  const std::size_t n = s.last - s.first + 1;
  std::vector<double> sums(n + 1, 0.0);
  std::vector<std::size_t> counts(n + 1, 0);
  for (std::size_t k = 0; k < n; ++k) {
    const double a = std::fabs(widen(s.lateral[s.groupOffset + s.first + k]));
    const bool finite = std::isfinite(a);
    sums[k + 1] = sums[k] + (finite ? a : 0.0);
    counts[k + 1] = counts[k] + (finite ? 1 : 0);
  }
  std::vector<double> out(n);
  for (std::size_t k = 0; k < n; ++k) {
    const std::size_t from = k >= half ? k - half : 0, to = std::min(n, k + half + 1);
    const std::size_t finite = counts[to] - counts[from];
    out[k] = finite > 0 ? (sums[to] - sums[from]) / static_cast<double>(finite) : 0.0;
  }
  return out;
}

// The first and last sample of the middle.
struct Middle {
  std::size_t first;
  std::size_t last;
};

Middle middleOf(const PhaseSamples& s) {
  const std::vector<double> lateral = smoothedLateral(s);
  const auto at = [&](std::size_t i) { return lateral[i - s.first]; };
  std::size_t slowest = s.first, peakAt = s.first;
  for (std::size_t i = s.first; i <= s.last; ++i) {
    if (s.speed[i] < s.speed[slowest]) slowest = i;
    if (at(i) > at(peakAt)) peakAt = i;
  }
  const double near = nearPeakShare * at(peakAt);
  const std::size_t centre = at(slowest) >= near ? slowest : peakAt;
  Middle m{centre, centre};
  while (m.first > s.first && at(m.first - 1) >= near) --m.first;
  while (m.last < s.last && at(m.last + 1) >= near) ++m.last;
  return m;
}

// A sample's place, held within the corner and after `from`.
double placeOf(const PhaseSamples& s, std::size_t i, double from) {
  return std::clamp(s.distance[i], from, s.cornerEnd);
}

// The platform over the group's samples `from` to `to`, inclusive.
void fillPlatform(PhaseValues& p, const PhaseSamples& s, std::size_t from, std::size_t to) {
  const PlatformChannels& c = *s.platform;
  // Roll is positive with the left side down: toward the outside of a
  // right-hand corner.
  const double outside = s.left ? -1.0 : 1.0;
  std::vector<double> roll;
  double front = 0.0, rear = 0.0;
  std::size_t transfers = 0;
  for (std::size_t g = from; g <= to; ++g) {
    if (std::isfinite(c.roll[g])) roll.push_back(outside * widen(c.roll[g]));
    if (std::isfinite(c.frontTransfer[g]) && std::isfinite(c.rearTransfer[g])) {
      front += widen(c.frontTransfer[g]);
      rear += widen(c.rearTransfer[g]);
      ++transfers;
    }
  }
  p.roll = mean(roll);
  if (transfers > 0 && front + rear != 0.0) p.lltdFront = front / (front + rear);
  for (std::size_t w = 0; w < raf::wheelCount; ++w) {
    std::size_t known = 0, atEnd = 0, moving = 0;
    double squares = 0.0;
    for (std::size_t g = from; g <= to; ++g) {
      if (c.atTravelEnd[w][g] != PlatformChannels::unknownEnd) {
        ++known;
        atEnd += c.atTravelEnd[w][g];
      }
      const double v = widen(c.damperVelocity[w][g]);
      if (std::isfinite(v)) {
        squares += v * v;
        ++moving;
      }
    }
    if (known > 0) p.atTravelEnd[w] = static_cast<double>(atEnd) * s.interval;
    if (moving > 0) p.damperRms[w] = std::sqrt(squares / static_cast<double>(moving));
  }
}

// The phase's values over samples `from` to `to`, inclusive.
void fill(PhaseValues& p, const PhaseSamples& s, std::size_t from, std::size_t to) {
  std::vector<double> understeer, front, rear;
  for (std::size_t i = from; i <= to; ++i) {
    const std::size_t g = s.groupOffset + i;
    if (std::isfinite(s.understeer[g])) understeer.push_back(s.understeer[g]);
    if (std::isfinite(s.frontUse[g])) front.push_back(s.frontUse[g]);
    if (std::isfinite(s.rearUse[g])) rear.push_back(s.rearUse[g]);
  }
  p.understeer = median(understeer);
  p.frontUse = mean(front);
  p.rearUse = mean(rear);
  if (s.platform != nullptr) fillPlatform(p, s, s.groupOffset + from, s.groupOffset + to);
}

}  // namespace

CornerPhases cornerPhases(const PhaseSamples& s) {
  CornerPhases out;
  if (s.last < s.first) {
    // A lap placed backward through the corner (a damaged replay): the
    // corner whole as its middle, nothing measured.
    out[entryPhase].start = out[entryPhase].end = out[middlePhase].start = s.cornerStart;
    out[middlePhase].end = out[exitPhase].start = out[exitPhase].end = s.cornerEnd;
    return out;
  }
  const Middle m = middleOf(s);
  PhaseValues& entry = out[entryPhase];
  PhaseValues& middle = out[middlePhase];
  PhaseValues& exit = out[exitPhase];
  entry.start = s.cornerStart;
  entry.end = middle.start = m.first == s.first ? s.cornerStart : placeOf(s, m.first, s.cornerStart);
  middle.end = exit.start = m.last == s.last ? s.cornerEnd : placeOf(s, m.last, middle.start);
  exit.end = s.cornerEnd;
  if (m.first > s.first) fill(entry, s, s.first, m.first - 1);
  fill(middle, s, m.first, m.last);
  if (m.last < s.last) fill(exit, s, m.last + 1, s.last);
  return out;
}

double phaseValue(const PhaseValues& v, std::size_t key) {
  switch (key) {
    case phaseFrontUse: return v.frontUse;
    case phaseRearUse: return v.rearUse;
    case phaseRoll: return v.roll;
    case phaseLltdFront: return v.lltdFront;
    default: break;
  }
  const std::size_t w = phaseKeyWheel(key);
  if (w >= raf::wheelCount) return PhaseValues::unknown;
  return key < damperFL ? v.atTravelEnd[w] : v.damperRms[w];
}

}  // namespace skidlog
