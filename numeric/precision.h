// Where a value is rounded to 32 bits. Every stored quantity is a 32-bit IEEE
// float; some expressions are formed in double precision and rounded once.
// These two helpers make each such point a visible, searchable call.
#ifndef SKIDLOG_NUMERIC_PRECISION_H_
#define SKIDLOG_NUMERIC_PRECISION_H_

#include <cfloat>
#include <limits>

namespace skidlog {

static_assert(std::numeric_limits<float>::is_iec559, "floats must be IEEE 754 binary32");
static_assert(std::numeric_limits<double>::is_iec559, "doubles must be IEEE 754 binary64");
static_assert(FLT_EVAL_METHOD == 0, "float expressions must be evaluated in float");

// Widens a float to double; exact.
constexpr double widen(float value) { return static_cast<double>(value); }

// Rounds a double to the nearest float (ties to even): the single rounding point
// of an expression formed in double precision.
constexpr float toFloat(double value) { return static_cast<float>(value); }

// Radians to degrees with the tool's historical factor 180 / 3.1416 (not 180 / pi);
// stored CSV files and the scripts reading them depend on it.
constexpr double degreesPerRadian = 57.29564553093965;
static_assert(degreesPerRadian == 180.0 / 3.1416);

}  // namespace skidlog

#endif  // SKIDLOG_NUMERIC_PRECISION_H_
