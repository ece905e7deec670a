#include "report/analysis/tyres/tyre_analysis.h"

#include <limits>

#include "system/parallel_for.h"
#include "report/analysis/tyres/tyre_model.h"

namespace skidlog {
namespace {

constexpr double notGiven = std::numeric_limits<double>::quiet_NaN();
// The share of a curve's refits that must reach its peak for it to count as reached.
constexpr double minRefitsReaching = 0.95;

void finish(Estimate& e, std::vector<double> replicates) {
  e.ci = interval95(replicates, e.value);
  e.replicates = std::move(replicates);
}

// The curve's intervals and band from its replicates.
void finishCurve(CurveAnalysis& c, const std::vector<const CurveReplicate*>& replicates) {
  std::vector<double> grip, slip, stiffness;
  for (const CurveReplicate* r : replicates) {
    grip.push_back(r != nullptr ? r->peakGrip : notGiven);
    slip.push_back(r != nullptr ? r->peakSlip : notGiven);
    stiffness.push_back(r != nullptr ? r->corneringStiffness : notGiven);
  }
  // A peak is reached only where nearly all refits reach it too.
  std::size_t refits = 0, reached = 0;
  for (const CurveReplicate* r : replicates) {
    refits += r != nullptr ? 1 : 0;
    reached += r != nullptr && r->peakReached ? 1 : 0;
  }
  if (static_cast<double>(reached) < minRefitsReaching * static_cast<double>(refits)) c.fit.peak.reached = false;
  finish(c.peakGrip, std::move(grip));
  finish(c.peakSlip, std::move(slip));
  finish(c.corneringStiffness, std::move(stiffness));
  std::vector<double> at(replicates.size());
  for (std::size_t k = 0; k < c.x.size(); ++k) {
    for (std::size_t r = 0; r < replicates.size(); ++r) at[r] = replicates[r] != nullptr ? replicates[r]->y[k] : notGiven;
    const Interval band = interval95(at, c.y[k]);
    c.low.push_back(band.low);
    c.high.push_back(band.high);
  }
}

}  // namespace

void drawAcrossData(const CurveFit& fit, std::vector<double>& x, std::vector<double>& y) {
  x.clear();
  y.clear();
  for (std::size_t k = 0; k < curveDrawPoints; ++k) {
    const double share = static_cast<double>(k) / static_cast<double>(curveDrawPoints - 1);
    x.push_back(fit.slipLow + share * (fit.slipHigh - fit.slipLow));
    y.push_back(fit.curve(x.back()));
  }
}

std::vector<TyreAnalysis> analyseTyres(std::span<const TyreSource> tyres, const Resamples& resamples) {
  std::vector<TyreModel> models(tyres.size());
  parallelFor(static_cast<int>(tyres.size()), [&](int t) {
    models[static_cast<std::size_t>(t)] = buildTyreModel(tyres[static_cast<std::size_t>(t)]);
  });
  std::vector<std::vector<TyreReplicate>> replicates(tyres.size(), std::vector<TyreReplicate>(bootstrapReplicates));
  if (resamples.blocks() > 0) {
    parallelFor(bootstrapReplicates, [&](int r) {
      for (std::size_t t = 0; t < models.size(); ++t) {
        replicates[t][static_cast<std::size_t>(r)] = replicateTyre(models[t], resamples.weights(r));
      }
    });
  }
  std::vector<TyreAnalysis> out;
  for (std::size_t t = 0; t < models.size(); ++t) {
    TyreAnalysis a = std::move(models[t].analysis);
    std::vector<const CurveReplicate*> lateral, longitudinal;
    std::vector<double> sensitivity;
    for (const TyreReplicate& r : replicates[t]) {
      lateral.push_back(r.lateral ? &*r.lateral : nullptr);
      longitudinal.push_back(r.longitudinal ? &*r.longitudinal : nullptr);
      sensitivity.push_back(r.loadSensitivity);
    }
    if (a.lateral) finishCurve(*a.lateral, lateral);
    if (a.longitudinal) finishCurve(*a.longitudinal, longitudinal);
    if (a.loadSensitivity.known()) {
      a.loadSensitivity.replicates = std::move(sensitivity);
      a.loadSensitivity.ci = basicInterval95(a.loadSensitivity.replicates, a.loadSensitivity.value);
    }
    out.push_back(std::move(a));
  }
  return out;
}

}  // namespace skidlog
