// The car's balance: the handling diagram (lateral acceleration against the
// front axle's slip angle minus the rear's), its slope in the linear range,
// the understeer gradient, with a 95 % interval; and which axle reaches its
// peak grip first, from the axles' fits.
#ifndef SKIDLOG_REPORT_ANALYSIS_BALANCE_H_
#define SKIDLOG_REPORT_ANALYSIS_BALANCE_H_

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "raf/replay.h"
#include "report/analysis/tyres/tyre_analysis.h"

namespace skidlog {

struct ReportGroup;

// The linear range of the handling diagram, g either way, and the most
// longitudinal acceleration (braking or driving) at which a sample counts as
// steady cornering for the understeer gradient, g.
inline constexpr double linearAcceleration = 0.4;
inline constexpr double steadyAcceleration = 0.1;

// Appends the car's lateral and longitudinal acceleration at each sample, in
// g, positive to the right and forward: its recorded position differenced
// twice over 0.05 s either side (the positions are floats; a wider step keeps
// their rounding small), along the car's right and forward axes; NaN at the
// ends. REQUIRES: the replay's samples are loaded.
void appendAccelerations(const Replay& replay, std::vector<float>& lateral, std::vector<float>& longitudinal);

// What the axles' fits say of which axle gives up first.
enum class LimitReading {
  notFitted,       // the axles' curves could not both be fitted
  oneReached,      // one axle's peak reached (`limit`), the other's not
  neitherReached,  // both gave more than the data shows
  bothReached,     // both peaks reached: `limit` where their difference's interval leaves zero out
};

struct Balance {
  // The samples at which all four wheels are fitted.
  std::vector<float> acceleration;    // g, positive to the right
  std::vector<float> slipDifference;  // degrees: the front axle's mean slip angle less the rear's
  std::vector<std::uint32_t> block;
  std::vector<std::uint32_t> sample;  // in the group's numbering
  // The straight line through the steady samples of the linear range,
  // outliers left out: slip difference = offset + gradient x acceleration.
  // Positive understeers.
  Estimate understeerGradient;  // degrees per g
  double offset = 0.0;          // degrees
  std::size_t fitted = 0;       // steady points in the linear range, outliers left out
  std::vector<bool> steady;     // per point: braking or driving at most steadyAcceleration
  // The diagram's medians in bins of 0.05 g of lateral acceleration.
  std::vector<double> medianAcceleration;
  std::vector<double> medianSlipDifference;
  std::optional<std::size_t> limit;  // the axle (0 front, 1 rear) that reaches its peak grip first
  LimitReading limitReading = LimitReading::notFitted;
  double frontPeak = 0.0;  // the axles' lateral peak grip (or the most the data shows), where fitted
  double rearPeak = 0.0;
};

// The group's balance, refitted to the same resamples as its tyres.
// REQUIRES: the group's wheels and axles are analysed.
Balance analyseBalance(const ReportGroup& group, const Resamples& resamples);

}  // namespace skidlog

#endif  // SKIDLOG_REPORT_ANALYSIS_BALANCE_H_
