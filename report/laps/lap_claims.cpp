#include "report/laps/lap_claims.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "report/inference/student_t.h"

namespace skidlog {
namespace {

// Whether a difference is tested in its comparison's family.
bool tested(const Difference& d) {
  return d.hasInterval && d.verdict != notComparable && d.standardError > 0.0 && d.df > 0.0 &&
         std::isfinite(d.delta.value) && std::fabs(d.delta.value) >= d.resolution;
}

double pValue(const Difference& d) { return studentTwoSided(d.delta.value / d.standardError, d.df); }

bool isLapTime(const Difference& d) { return d.where == "lap" && d.quantity == "lap_time_s"; }

// Each member's weight in its family, averaging 1: the lap time carries
// lapTimeShare of the family's, the corner numbers share the rest evenly.
std::vector<double> familyWeights(const std::vector<Difference*>& members) {
  const auto m = static_cast<double>(members.size());
  const bool lapTested = std::any_of(members.begin(), members.end(), [](const Difference* d) { return isLapTime(*d); });
  if (!lapTested || members.size() < 2) return std::vector<double>(members.size(), 1.0);
  const double lap = std::max(1.0, lapTimeShare * m);
  const double corner = (m - lap) / (m - 1.0);
  std::vector<double> w;
  for (const Difference* d : members) w.push_back(isLapTime(*d) ? lap : corner);
  return w;
}

}  // namespace

Claims claimFamily(const std::vector<Difference*>& family, std::size_t from, std::size_t to) {
  Claims c{from, to, 0, 0};
  std::vector<double> p;
  std::vector<Difference*> members;
  for (Difference* d : family) {
    if (!tested(*d)) {
      // Left out of the family: it claims nothing, whatever its interval.
      // A difference below its resolution whose interval leaves zero out
      // would read as a claim: it is said to be below the resolution instead.
      if (d->hasInterval && d->verdict != notComparable && claimed(verdictOf(d->delta.ci)) &&
          std::fabs(d->delta.value) < d->resolution) {
        d->verdict = belowResolution;
        d->hasInterval = false;
      } else if (claimed(d->verdict)) {
        d->verdict = noDifferenceShown;
      }
      continue;
    }
    members.push_back(d);
    p.push_back(pValue(*d));
  }
  c.tested = members.size();
  if (members.empty()) return c;
  const std::vector<double> w = familyWeights(members);
  c.claimed = benjaminiHochberg(p, w, c.fdr);
  const auto m = static_cast<double>(c.tested);
  const double level = static_cast<double>(std::max<std::size_t>(c.claimed, 1)) * c.fdr / m;
  const double cutoff = static_cast<double>(c.claimed) * c.fdr / m;
  for (std::size_t i = 0; i < members.size(); ++i) {
    Difference& d = *members[i];
    const double half = studentQuantile(level * w[i], d.df) * d.standardError;
    d.delta.ci = {d.delta.value - half, d.delta.value + half};
    const bool claim = c.claimed > 0 && p[i] <= cutoff * w[i];
    d.verdict = claim ? (d.delta.value > 0.0 ? higher : lower) : noDifferenceShown;
    holdPastReach(d);
  }
  return c;
}

std::size_t benjaminiHochberg(std::vector<double> p, double q) {
  const std::vector<double> even(p.size(), 1.0);
  return benjaminiHochberg(std::move(p), even, q);
}

std::size_t benjaminiHochberg(std::vector<double> p, const std::vector<double>& weights, double q) {
  for (std::size_t i = 0; i < p.size(); ++i) p[i] /= weights[i];
  std::sort(p.begin(), p.end());
  const auto m = static_cast<double>(p.size());
  std::size_t r = 0;
  for (std::size_t k = 1; k <= p.size(); ++k) {
    if (p[k - 1] <= static_cast<double>(k) * q / m) r = k;
  }
  return r;
}

std::vector<Claims> claimAcrossComparisons(std::vector<Difference>& differences) {
  std::vector<std::pair<std::size_t, std::size_t>> comparisons;
  for (const Difference& d : differences) {
    const std::pair key{d.from, d.to};
    if (std::find(comparisons.begin(), comparisons.end(), key) == comparisons.end()) comparisons.push_back(key);
  }
  std::vector<Claims> out;
  for (const auto& [from, to] : comparisons) {
    std::vector<Difference*> family;
    for (Difference& d : differences) {
      if (d.from == from && d.to == to) family.push_back(&d);
    }
    out.push_back(claimFamily(family, from, to));
  }
  return out;
}

}  // namespace skidlog
