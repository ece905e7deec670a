#include "report/analysis/compare/differences.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "report/analysis/platform/platform_differences.h"
#include "report/analysis/report_group.h"
#include "report/quantity/quantities.h"

namespace skidlog {

Difference compare(const Estimate& from, const Estimate& to, bool relative, const Place& place, const char* curve,
                   const char* quantity) {
  Difference d;
  d.from = place.from;
  d.to = place.to;
  d.where = place.where;
  d.curve = curve;
  d.quantity = quantity;
  d.fromValue = from.value;
  d.toValue = to.value;
  d.delta.value = to.value - from.value;
  // The two groups were resampled independently: replicate r of each is a
  // draw of its own, so their pairs are draws of the difference.
  const std::size_t n = std::min(from.replicates.size(), to.replicates.size());
  std::vector<double> replicates(n);
  for (std::size_t r = 0; r < n; ++r) replicates[r] = to.replicates[r] - from.replicates[r];
  d.delta.ci = interval95(replicates, d.delta.value);
  if (relative && from.value != 0.0) {
    for (std::size_t r = 0; r < n; ++r) replicates[r] = to.replicates[r] / from.replicates[r] - 1.0;
    d.relative.value = to.value / from.value - 1.0;
    d.relative.ci = interval95(replicates, d.relative.value);
  }
  d.verdict = verdictOf(d.delta.ci);
  return d;
}

double claimableFrom(std::string_view quantity, double grain) {
  const Quantity* q = quantityNamed(quantity);
  return q != nullptr ? std::max(grain, q->resolution) : grain;
}

Difference compareOverLaps(const OverLaps& from, const OverLaps& to, const Place& place, const char* quantity,
                           double grain) {
  Difference d;
  d.from = place.from;
  d.to = place.to;
  d.where = place.where;
  d.quantity = quantity;
  d.fromValue = from.mean;
  d.toValue = to.mean;
  d.fromLaps = from.laps;
  d.toLaps = to.laps;
  const LapDifference l = differenceOverLaps(from, to, resolutionSpread(grain));
  d.delta.value = l.delta;
  d.delta.ci = l.ci;
  d.standardError = l.standardError;
  d.df = l.df;
  d.resolution = claimableFrom(quantity, grain);
  switch (l.basis) {
    case LapBasis::oneLapEach:
      d.hasInterval = false;
      d.verdict = oneLapEach;
      d.notes.emplace_back(DifferenceNote::Reason::oneLapEach);
      return d;
    case LapBasis::oneAgainstMany:
      d.notes.emplace_back(DifferenceNote::Reason::oneLapAgainst, l.otherLaps);
      break;
    case LapBasis::welch:
    case LapBasis::none:
      break;
  }
  d.verdict = verdictOf(d.delta.ci);
  holdBelowResolution(d, d.resolution);
  return d;
}

void holdBelowResolution(Difference& d, double resolution) {
  if (claimed(d.verdict) && std::fabs(d.delta.value) < resolution) {
    d.verdict = belowResolution;
    d.hasInterval = false;
  }
}

void holdPastReach(Difference& d) {
  if (!d.hasInterval || !(std::fabs(d.delta.ci.low) > d.reach || std::fabs(d.delta.ci.high) > d.reach)) return;
  d.verdict = lapsDisagree;
  d.hasInterval = false;
}

namespace {

void compareCurves(const std::optional<CurveAnalysis>& from, const std::optional<CurveAnalysis>& to,
                   const char* curve, const Place& place, std::vector<Difference>& out) {
  if (!from || !to) return;
  if (from->fit.peak.reached && to->fit.peak.reached) {
    out.push_back(compare(from->peakGrip, to->peakGrip, true, place, curve, "peak_grip"));
    out.push_back(compare(from->peakSlip, to->peakSlip, false, place, curve, "peak_slip"));
  }
  if (from->corneringStiffness.known() && to->corneringStiffness.known()) {
    out.push_back(compare(from->corneringStiffness, to->corneringStiffness, true, place, curve, "cornering_stiffness"));
  }
}

void compareTyres(const TyreAnalysis& from, const TyreAnalysis& to, const Place& place, std::vector<Difference>& out) {
  compareCurves(from.lateral, to.lateral, "lateral", place, out);
  compareCurves(from.longitudinal, to.longitudinal, "longitudinal", place, out);
  if (from.loadSensitivity.known() && to.loadSensitivity.known()) {
    out.push_back(compare(from.loadSensitivity, to.loadSensitivity, false, place, "lateral", "load_sensitivity"));
  }
}

}  // namespace

double Difference::size() const {
  if (relative.known()) return std::fabs(relative.value);
  return fromValue != 0.0 ? std::fabs(delta.value / fromValue) : std::fabs(delta.value);
}

const char* verdictOf(const Interval& ci) {
  // An interval of no width has seen no variation: it can claim nothing.
  if (!(ci.high > ci.low)) return noDifferenceShown;
  if (ci.low > 0.0) return higher;
  if (ci.high < 0.0) return lower;
  return noDifferenceShown;
}

namespace {

// Marks the numbers that the sample interval moves as not comparable. The
// longitudinal slip comes from the wheel's speed over two sample intervals,
// and reads differently at 100 ms than at 10 ms: the same real lap at both
// differs by 3 to 20 % in its longitudinal cornering stiffness. The load
// holds the wheel's own mass times its acceleration over two intervals, which
// a coarser interval smooths: the same generated lap at both differs in its
// load sensitivity by -0.03 to -0.11 /kN.
void markIntervalBound(std::vector<Difference>& differences, std::size_t first, const ReportGroup& from,
                       const ReportGroup& to) {
  if (from.sampleIntervals() == to.sampleIntervals()) return;
  for (std::size_t k = first; k < differences.size(); ++k) {
    Difference& d = differences[k];
    const bool slip = d.curve == "longitudinal" && (d.quantity == "cornering_stiffness" || d.quantity == "peak_slip");
    if (slip) {
      d.notes.emplace_back(DifferenceNote::Reason::slipAtOtherInterval);
    } else if (d.quantity == "load_sensitivity") {
      d.notes.emplace_back(DifferenceNote::Reason::loadAtOtherInterval);
    } else {
      continue;
    }
    d.verdict = notComparable;
  }
}

}  // namespace

std::vector<Difference> compareGroups(std::span<const ReportGroup> groups) {
  std::vector<Difference> out;
  for (std::size_t g = 1; g < groups.size(); ++g) {
    const std::size_t first = out.size();
    for (std::size_t w = 0; w < groups[g].wheels.size(); ++w) {
      compareTyres(groups[0].wheels[w], groups[g].wheels[w], {0, g, wheelNames[w]}, out);
    }
    for (std::size_t a = 0; a < groups[g].axles.size(); ++a) {
      compareTyres(groups[0].axles[a], groups[g].axles[a], {0, g, axleNames[a]}, out);
    }
    const Estimate& from = groups[0].balance.understeerGradient;
    const Estimate& to = groups[g].balance.understeerGradient;
    if (from.known() && to.known()) out.push_back(compare(from, to, false, {0, g, "balance"}, "", "understeer_gradient"));
    markIntervalBound(out, first, groups[0], groups[g]);
  }
  comparePlatforms(groups, out);
  sortDifferences(out);
  return out;
}

void sortDifferences(std::vector<Difference>& differences) {
  std::stable_sort(differences.begin(), differences.end(), [](const Difference& a, const Difference& b) {
    const bool aShown = claimed(a.verdict), bShown = claimed(b.verdict);
    if (aShown != bShown) return aShown;
    return a.size() > b.size();
  });
}

}  // namespace skidlog
