// Which wheels get a row at a sample, and the wheel values computed as the row
// is written: the same numbers for the CSV and for any analysis of its rows.
#ifndef SKIDLOG_CSV_WHEEL_ROW_H_
#define SKIDLOG_CSV_WHEEL_ROW_H_

#include <cstddef>
#include <cstdint>

#include "raf/replay.h"

namespace skidlog {

// A wheel is written only at this longitudinal speed or more, m/s.
inline constexpr float minLongitudinalSpeed = 3.0f;
// The right-hand side of both load tests, N (the float nearest 0.1).
inline constexpr float minNormalLoad = 0.1f;

// The magnitude of x truncated toward zero, limited to 2147483647; NaN gives 0.
std::int32_t truncatedMagnitude(float x);

// Per-wheel test: rolling forward at minLongitudinalSpeed or more, and the
// load itself (sign included) at least minNormalLoad. A NaN fails.
bool passesPerWheel(const WheelTrack& wheel, std::size_t i);

// Side-by-side test: rolling forward, and the load's whole-number part at
// least 1 N in magnitude, so a wheel pulling -5 N passes and 0.5 N does not.
bool passesSideBySide(const WheelTrack& wheel, std::size_t i);

// The wheel columns that are not stored series, at sample i.
struct WheelRow {
  double wheelSteer = 0.0;      // degrees
  double camber = 0.0;          // degrees, the lean negated
  float longitudinalGrip = 0.0f;
  float lateralGrip = 0.0f;
  float slipRatio = 0.0f;
  double slipAngle = 0.0;  // degrees
};

// REQUIRES: the wheel passes a filter at sample i, so neither divisor is zero.
WheelRow wheelRow(const WheelTrack& wheel, const WheelGeometry& geometry, std::size_t i);

}  // namespace skidlog

#endif  // SKIDLOG_CSV_WHEEL_ROW_H_
