#include <cmath>
#include <limits>

#include "numeric/elementary.h"

namespace skidlog::portable {
namespace {

// ln 2 in two parts: the first with its low 32 bits zero, so that k times it
// is exact for every exponent k a double has.
constexpr double ln2High = 6.93147180369123816490e-01;  // 0x1.62e42feep-1
constexpr double ln2Low = 1.90821492927058770002e-10;   // 0x1.a39ef35793c76p-33
constexpr double sqrtHalf = 0.70710678118654752440;     // 0x1.6a09e667f3bcdp-1

// 1 / n! for n = 0 .. 20, each from the one before by one division.
struct InverseFactorials {
  double value[21] = {};
  constexpr InverseFactorials() {
    value[0] = 1.0;
    for (int n = 1; n <= 20; ++n) value[n] = value[n - 1] / n;
  }
};
constexpr InverseFactorials inverse;

}  // namespace

double exp(double x) {
  if (std::isnan(x)) return x;
  if (x > 709.8) return std::numeric_limits<double>::infinity();
  if (x < -745.2) return 0.0;
  // x = k ln 2 + r with |r| <= ln 2 / 2; e^r by its Taylor series to r^20,
  // whose remainder is below 2^-70 there; then scaled by 2^k exactly.
  const double k = std::nearbyint(x / ln2High);
  const double r = (x - k * ln2High) - k * ln2Low;
  double sum = inverse.value[20];
  for (int n = 19; n >= 1; --n) sum = inverse.value[n] + r * sum;
  return std::ldexp(1.0 + r * sum, static_cast<int>(k));
}

double log(double x) {
  if (std::isnan(x) || x < 0.0) return std::numeric_limits<double>::quiet_NaN();
  if (x == 0.0) return -std::numeric_limits<double>::infinity();
  if (std::isinf(x)) return x;
  // x = m 2^e with m in [sqrt(1/2), sqrt(2)); log m = 2 atanh(s) with
  // s = (m - 1) / (m + 1), |s| <= 0.172, by its series to s^25.
  int e = 0;
  double m = std::frexp(x, &e);
  if (m < sqrtHalf) {
    m *= 2.0;
    --e;
  }
  const double s = (m - 1.0) / (m + 1.0);
  const double s2 = s * s;
  double sum = 1.0 / 25.0;
  for (int n = 23; n >= 3; n -= 2) sum = 1.0 / n + s2 * sum;
  const double logM = 2.0 * s + 2.0 * s * (s2 * sum);
  const double k = static_cast<double>(e);
  return k * ln2High + (logM + k * ln2Low);
}

}  // namespace skidlog::portable
