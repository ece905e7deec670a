#include "report/analysis/tyres/tyre_model.h"
#include "report/fit/statistics.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "numeric/elementary.h"
#include "numeric/precision.h"

namespace skidlog {

const FitLimits lateralLimits{
    {0.01, 1.0, 0.1, -3.0, 0.0, -0.3, -1.0, 0.0}, {2.0, 2.2, 3.5, 1.0, 0.0, 0.3, 1.0, 0.0}, 0.25};
// Braking loads the front wheels as it slips them, so the data cannot tell a
// change of grip with load from the curve's shape: no load term.
const FitLimits longitudinalLimits{
    {1.0, 1.0, 0.1, 0.0, 0.0, 0.0, 0.0, 0.0}, {100.0, 2.2, 3.5, 0.0, 0.0, 0.0, 0.0, 0.0}, 0.002};

namespace {

using Column = std::vector<float> WheelPoints::*;
using Subset = std::vector<PointIndex> FitSubsets::*;

// One curve's points gathered from the tyre's wheels.
struct Columns {
  std::vector<float> x;
  std::vector<float> y;
  std::vector<float> load;
  std::vector<std::uint32_t> block;

  CurvePoints points() const { return {x, y, load, block}; }
};

Columns gather(const TyreSource& source, Subset subset, Column x, Column y) {
  Columns c;
  const std::vector<PointIndex>& rows = source.subsets->*subset;
  c.x.reserve(rows.size());
  c.y.reserve(rows.size());
  c.load.reserve(rows.size());
  c.block.reserve(rows.size());
  const WheelPoints& p = *source.points;
  for (const PointIndex i : rows) {
    c.x.push_back((p.*x)[i]);
    c.y.push_back((p.*y)[i]);
    c.load.push_back(p.normalLoad[i]);
    c.block.push_back(p.block[i]);
  }
  return c;
}

std::array<std::optional<double>, frictionCircleSectors> frictionCircle(const TyreSource& source) {
  std::array<std::vector<float>, frictionCircleSectors> sectors;
  const WheelPoints& p = *source.points;
  for (const PointIndex i : source.subsets->all) {
    const double lateral = widen(p.lateralGrip[i]);
    const double longitudinal = widen(p.longitudinalGrip[i]);
    const double degrees = portable::atan2(longitudinal, lateral) * 180.0 / std::numbers::pi;
    // Sector k is centred on k * 10 degrees.
    const auto k = static_cast<int>(std::floor((degrees + 5.0) / 10.0));
    const int sector = ((k % frictionCircleSectors) + frictionCircleSectors) % frictionCircleSectors;
    sectors[static_cast<std::size_t>(sector)].push_back(static_cast<float>(portable::hypot(lateral, longitudinal)));
  }
  std::array<std::optional<double>, frictionCircleSectors> circle;
  for (std::size_t k = 0; k < sectors.size(); ++k) {
    if (sectors[k].size() >= 10) circle[k] = quantile(sectors[k], 0.99);
  }
  return circle;
}

// The band's curve as a fit of its own points, for the table and the chart.
CurveFit bandFit(const Columns& band, const MagicFormula& curve) {
  CurveFit fit;
  fit.curve = curve;
  fit.points = band.x.size();
  setSlipRange(band.x, fit);
  double mean = 0.0, total = 0.0, left = 0.0;
  for (const float y : band.y) mean += widen(y);
  mean /= static_cast<double>(band.y.size());
  for (std::size_t i = 0; i < band.x.size(); ++i) {
    const double y = widen(band.y[i]);
    const double e = y - curve(band.x[i]);
    left += e * e;
    total += (y - mean) * (y - mean);
  }
  fit.r2 = total > 0.0 ? 1.0 - left / total : 0.0;
  fit.peak = summarisePeak(curve, fit.slipLow, fit.slipHigh);
  fit.bounded = boundedCoefficients(curve, lateralLimits);
  return fit;
}

// The loads that split the lateral points into terciles (as quantile()
// picks them, from partial sorts), and each point's band.
struct LoadCuts {
  std::array<double, loadBandCount + 1> cuts{};
  std::vector<std::uint8_t> band;
};

LoadCuts loadCuts(const std::vector<float>& pointLoads) {
  LoadCuts c;
  if (pointLoads.empty()) return c;
  std::vector<float> loads = pointLoads;
  const std::size_t last = loads.size() - 1;
  const std::size_t third = last / 3, twoThirds = static_cast<std::size_t>(2.0 / 3.0 * static_cast<double>(last));
  const auto at = [&](std::size_t k) { return loads.begin() + static_cast<std::ptrdiff_t>(k); };
  std::nth_element(loads.begin(), at(twoThirds), loads.end());
  std::nth_element(loads.begin(), at(third), at(twoThirds));
  c.cuts = {widen(*std::min_element(loads.begin(), at(third + 1))), widen(loads[third]), widen(loads[twoThirds]),
            widen(*std::max_element(at(twoThirds), loads.end()))};
  c.band.reserve(pointLoads.size());
  // The top band keeps its upper edge; the others leave it to the next band.
  for (const float load : pointLoads) {
    c.band.push_back(widen(load) < c.cuts[1] ? 0 : widen(load) < c.cuts[2] ? 1 : 2);
  }
  return c;
}

// A load band's peak factor and the mean load of its points.
struct BandPeak {
  double peak = 0.0;
  double meanLoad = 0.0;
};

// A band's peak factor on the lateral shape from its points: least squares
// of their grips less the vertical shift, linear in D.
BandPeak pointsPeak(const Columns& band, const MagicFormula& shape, double verticalShift) {
  double gy = 0.0, gg = 0.0, load = 0.0;
  for (std::size_t i = 0; i < band.x.size(); ++i) {
    const double g = shape(widen(band.x[i]));
    gy += g * (widen(band.y[i]) - verticalShift);
    gg += g * g;
    load += widen(band.load[i]);
  }
  const double meanLoad = band.x.empty() ? 0.0 : load / static_cast<double>(band.x.size());
  return {gg > 0.0 ? gy / gg : 0.0, meanLoad};
}

// The three bands of the wheel's loads, for the table and the charts: each
// band's peak factor on the lateral shape and its curve's numbers from its
// points (outliers left out). The load sensitivity from the fit's bins.
void fitLoadBands(const Columns& lateral, const LoadCuts& cuts, const FittedCurve& fitted, TyreModel& model) {
  const MagicFormula& wheel = fitted.fit.curve;
  const MagicFormula shape = wheel.shape();
  for (std::uint8_t b = 0; b < loadBandCount; ++b) {
    Columns band;
    for (std::size_t i = 0; i < lateral.x.size(); ++i) {
      if (fitted.outlier[i] || cuts.band[i] != b) continue;
      band.x.push_back(lateral.x[i]);
      band.y.push_back(lateral.y[i]);
      band.load.push_back(lateral.load[i]);
    }
    LoadBand& out = model.analysis.loadBands[b];
    out.loadMin = cuts.cuts[b];
    out.loadMax = cuts.cuts[b + 1u];
    const BandPeak peak = pointsPeak(band, shape, wheel.Sv);
    out.meanLoad = peak.meanLoad;
    if (band.x.size() >= minFitPoints) {
      const MagicFormula curve{wheel.B, wheel.C, peak.peak, wheel.E, wheel.Sh, wheel.Sv, 0.0, peak.meanLoad};
      out.fit = bandFit(band, curve);
    }
  }
  // Unknown where no slip holds points at different loads: load cannot be
  // told apart from slip and side.
  model.analysis.loadSensitivity.value = relativeLoadSensitivity(fitted.bins.totals(), wheel);
}

// The curve's numbers and its drawing across the data. A peak factor D on a
// bound of its box is a fit that ran as far as the box let it: the data does
// not determine the curve's shape, and so not its slope at zero slip either,
// which is left out.
CurveAnalysis describeCurve(const CurveFit& fit) {
  CurveAnalysis c;
  c.fit = fit;
  c.peakGrip.value = fit.peak.grip;
  c.peakSlip.value = fit.peak.slip;
  c.corneringStiffness.value = fit.curve.corneringStiffness();
  if (peakFactorBounded(fit)) c.corneringStiffness.value = std::numeric_limits<double>::quiet_NaN();
  drawAcrossData(fit, c.x, c.y);
  return c;
}

// The curve refitted to one resample, its numbers, and its values at the
// analysis' draw points; `sums` receives the resampled bins.
std::optional<CurveReplicate> replicateCurve(const std::optional<FittedCurve>& fitted,
                                             const std::optional<CurveAnalysis>& analysis, const FitLimits& limits,
                                             std::span<const std::uint32_t> weights, std::vector<BinSum>& sums,
                                             MagicFormula& curve) {
  if (!fitted || !analysis) return std::nullopt;
  fitted->bins.resample(weights, sums);
  curve = refitBins(sums, fitted->fit.curve, limits);
  const PeakSummary peak = summarisePeak(curve, binnedSlipQuantile(sums, limits.binWidth, 0.005),
                                         binnedSlipQuantile(sums, limits.binWidth, 0.995));
  // Whether the refit reaches the estimate's peak: its own peak on the same
  // side of the curve, inside the data and shown by the resampled points.
  const CurveFit& estimate = fitted->fit;
  const bool right = estimate.peak.x > 0.0;
  const PeakSummary side = summarisePeak(curve, right ? std::max(estimate.slipLow, 0.0) : estimate.slipLow,
                                         right ? estimate.slipHigh : std::min(estimate.slipHigh, 0.0));
  CurveReplicate r{peak.grip, peak.slip, curve.corneringStiffness(), peakShown(side, sums, estimate.slipP99), {}};
  r.y.reserve(analysis->x.size());
  for (const double x : analysis->x) r.y.push_back(curve(x));
  return r;
}

}  // namespace

double relativeLoadSensitivity(const std::vector<BinSum>& bins, const MagicFormula& curve) {
  std::array<double, 2> sgy{}, sgg{};
  for (const BinSum& b : bins) {
    if (b.count < 2.0) continue;
    const double meanLoad = b.load / 1000.0 / b.count;
    const double sxx = b.loadSquared - meanLoad * meanLoad * b.count;
    const double sxy = b.loadGrip - meanLoad * b.y;
    const double g = curve(b.x / b.count) - curve.Sv;
    const std::size_t side = b.x < 0.0 ? 0 : 1;
    sgy[side] += g * sxy;
    sgg[side] += g * g * sxx;
  }
  double sum = 0.0;
  int sides = 0;
  for (std::size_t side = 0; side < 2; ++side) {
    if (!(sgg[side] > 0.0)) continue;
    sum += sgy[side] / sgg[side];
    ++sides;
  }
  return sides > 0 ? sum / sides : std::numeric_limits<double>::quiet_NaN();
}

FitSubsets fitSubsets(const WheelPoints& p) {
  FitSubsets s;
  s.all.reserve(p.size());
  s.lateral.reserve(p.size());
  s.longitudinal.reserve(p.size());
  const float medianLoad = static_cast<float>(quantile(p.normalLoad, 0.5));
  for (std::size_t i = 0; i < p.size(); ++i) {
    const bool finite = std::isfinite(p.slipAngle[i]) && std::isfinite(p.lateralGrip[i]) &&
                        std::isfinite(p.slipRatio[i]) && std::isfinite(p.longitudinalGrip[i]);
    if (finite && p.speed[i] >= minFitSpeed && p.normalLoad[i] >= minLoadShare * medianLoad &&
        std::fabs(p.slipAngle[i]) < maxFitSlipAngle && std::fabs(p.slipRatio[i]) < maxFitSlipRatio) {
      const auto k = static_cast<PointIndex>(i);
      s.all.push_back(k);
      if (std::fabs(p.slipRatio[i]) <= lateralSlipRatioLimit) s.lateral.push_back(k);
      if (std::fabs(p.slipAngle[i]) <= longitudinalSlipAngleLimit) s.longitudinal.push_back(k);
    }
  }
  // Each was given room for every point; most hold far fewer.
  s.all.shrink_to_fit();
  s.lateral.shrink_to_fit();
  s.longitudinal.shrink_to_fit();
  return s;
}

TyreModel buildTyreModel(const TyreSource& source) {
  TyreModel model;
  model.analysis.rows = source.points->size();
  model.analysis.fitted = source.subsets->all.size();
  const Columns lateral = gather(source, &FitSubsets::lateral, &WheelPoints::slipAngle, &WheelPoints::lateralGrip);
  const Columns longitudinal =
      gather(source, &FitSubsets::longitudinal, &WheelPoints::slipRatio, &WheelPoints::longitudinalGrip);
  // The lateral bins sum loads too: one resample serves the curve and the
  // load sensitivity.
  const LoadCuts cuts = loadCuts(lateral.load);
  model.lateral = fitCurve(lateral.points(), lateralLimits);
  model.longitudinal = fitCurve(longitudinal.points(), longitudinalLimits);
  if (model.lateral) {
    model.analysis.lateral = describeCurve(model.lateral->fit);
    fitLoadBands(lateral, cuts, *model.lateral, model);
  }
  if (model.longitudinal) {
    model.analysis.longitudinal = describeCurve(model.longitudinal->fit);
  }
  model.analysis.frictionCircle = frictionCircle(source);
  return model;
}

TyreReplicate replicateTyre(const TyreModel& model, std::span<const std::uint32_t> weights) {
  TyreReplicate r;
  std::vector<BinSum> sums;
  MagicFormula lateralCurve, longitudinalCurve;
  r.longitudinal = replicateCurve(model.longitudinal, model.analysis.longitudinal, longitudinalLimits, weights, sums,
                                  longitudinalCurve);
  r.lateral = replicateCurve(model.lateral, model.analysis.lateral, lateralLimits, weights, sums, lateralCurve);
  if (r.lateral) r.loadSensitivity = relativeLoadSensitivity(sums, lateralCurve);
  return r;
}

}  // namespace skidlog
