#include "report/tyre_analysis.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "numeric/precision.h"

namespace skidlog {
namespace {

// Slip angle in degrees: a peak from 1 to 25 degrees, grip up to 3.5.
const FitLimits lateralLimits{{0.01, 1.0, 0.1, -3.0, -3.0, -0.15}, {2.0, 2.2, 3.5, 1.0, 3.0, 0.15}, 90.0};
// Slip ratio: a peak from about 0.02 to 0.5.
const FitLimits longitudinalLimits{{1.0, 1.0, 0.1, -3.0, -0.05, -0.15}, {100.0, 2.2, 3.5, 1.0, 0.05, 0.15}, 5.0};

struct Columns {
  std::vector<float> x;
  std::vector<float> y;
};

Columns pick(const std::vector<std::size_t>& rows, const std::vector<float>& x, const std::vector<float>& y) {
  Columns c;
  c.x.reserve(rows.size());
  c.y.reserve(rows.size());
  for (std::size_t i : rows) {
    c.x.push_back(x[i]);
    c.y.push_back(y[i]);
  }
  return c;
}

std::optional<CurveFit> fit(const Columns& c, const FitLimits& limits) { return fitMagicFormula(c.x, c.y, limits); }

std::array<LoadBand, 3> loadBands(const WheelPoints& p, const std::vector<std::size_t>& lateral) {
  std::vector<float> loads;
  loads.reserve(lateral.size());
  for (std::size_t i : lateral) loads.push_back(p.normalLoad[i]);
  std::array<LoadBand, 3> bands;
  if (loads.empty()) return bands;
  // The terciles, as quantile() picks them, from one sort.
  std::sort(loads.begin(), loads.end());
  const auto at = [&](double q) { return widen(loads[static_cast<std::size_t>(q * static_cast<double>(loads.size() - 1))]); };
  const double cuts[4] = {at(0.0), at(1.0 / 3.0), at(2.0 / 3.0), at(1.0)};
  for (std::size_t b = 0; b < bands.size(); ++b) {
    std::vector<std::size_t> rows;
    for (std::size_t i : lateral) {
      const double load = widen(p.normalLoad[i]);
      // The top band keeps its upper edge; the others leave it to the next band.
      if (load >= cuts[b] && (load < cuts[b + 1] || (b == 2 && load <= cuts[3]))) rows.push_back(i);
    }
    bands[b].loadMin = cuts[b];
    bands[b].loadMax = cuts[b + 1];
    bands[b].fit = fit(pick(rows, p.slipAngle, p.lateralGrip), lateralLimits);
  }
  return bands;
}

std::array<std::optional<double>, frictionCircleSectors> frictionCircle(const WheelPoints& p,
                                                                        const std::vector<std::size_t>& rows) {
  std::array<std::vector<float>, frictionCircleSectors> sectors;
  for (std::size_t i : rows) {
    const double lateral = widen(p.lateralGrip[i]);
    const double longitudinal = widen(p.longitudinalGrip[i]);
    const double degrees = std::atan2(longitudinal, lateral) * 180.0 / std::numbers::pi;
    // Sector k is centred on k * 10 degrees.
    const auto k = static_cast<int>(std::floor((degrees + 5.0) / 10.0));
    const int sector = ((k % frictionCircleSectors) + frictionCircleSectors) % frictionCircleSectors;
    sectors[static_cast<std::size_t>(sector)].push_back(static_cast<float>(std::hypot(lateral, longitudinal)));
  }
  std::array<std::optional<double>, frictionCircleSectors> circle;
  for (std::size_t k = 0; k < sectors.size(); ++k) {
    if (sectors[k].size() >= 10) circle[k] = quantile(sectors[k], 0.99);
  }
  return circle;
}

}  // namespace

FitSubsets fitSubsets(const WheelPoints& p) {
  FitSubsets s;
  const float medianLoad = static_cast<float>(quantile(p.normalLoad, 0.5));
  for (std::size_t i = 0; i < p.size(); ++i) {
    const bool finite = std::isfinite(p.slipAngle[i]) && std::isfinite(p.lateralGrip[i]) &&
                        std::isfinite(p.slipRatio[i]) && std::isfinite(p.longitudinalGrip[i]);
    if (finite && p.speed[i] >= minFitSpeed && p.normalLoad[i] >= minLoadShare * medianLoad &&
        std::fabs(p.slipAngle[i]) < maxFitSlipAngle && std::fabs(p.slipRatio[i]) < maxFitSlipRatio) {
      s.all.push_back(i);
      if (std::fabs(p.slipRatio[i]) <= lateralSlipRatioLimit) s.lateral.push_back(i);
      if (std::fabs(p.slipAngle[i]) <= longitudinalSlipAngleLimit) s.longitudinal.push_back(i);
    }
  }
  return s;
}

WheelAnalysis analyseWheel(const WheelPoints& p) {
  WheelAnalysis a;
  a.rows = p.size();
  const FitSubsets s = fitSubsets(p);
  a.fitted = s.all.size();
  a.lateral = fit(pick(s.lateral, p.slipAngle, p.lateralGrip), lateralLimits);
  a.longitudinal = fit(pick(s.longitudinal, p.slipRatio, p.longitudinalGrip), longitudinalLimits);
  a.loadBands = loadBands(p, s.lateral);
  a.frictionCircle = frictionCircle(p, s.all);
  return a;
}

}  // namespace skidlog
