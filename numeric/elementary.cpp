#include "numeric/elementary.h"

#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>

#include "numeric/trig.h"

namespace skidlog::portable {
namespace {

constexpr double nan = std::numeric_limits<double>::quiet_NaN();

// pi / 2 in three parts of 33, 33 and 53 bits: k times either of the first
// two is exact for every k below 2^20, so x - k pi/2 loses nothing.
constexpr double halfPiHigh = 1.5707963267341256;     // 0x1.921fb544p+0
constexpr double halfPiMiddle = 6.077100506303966e-11;  // 0x1.0b4611a6p-34
constexpr double halfPiLow = 2.0222662487959506e-21;    // 0x1.3198a2e037073p-69
constexpr double quarterPi = 0.7853981633974483;        // 0x1.921fb54442d18p-1

// ln 2 in two parts: the first with its low 32 bits zero, so that k times it
// is exact for every exponent k a double has.
constexpr double ln2High = 6.93147180369123816490e-01;  // 0x1.62e42feep-1
constexpr double ln2Low = 1.90821492927058770002e-10;   // 0x1.a39ef35793c76p-33
constexpr double sqrtHalf = 0.70710678118654752440;     // 0x1.6a09e667f3bcdp-1

// 1 / n! for n = 0 .. 20, each formed from the one before by one division.
struct InverseFactorials {
  double value[21] = {};
  constexpr InverseFactorials() {
    value[0] = 1.0;
    for (int n = 1; n <= 20; ++n) value[n] = value[n - 1] / n;
  }
};
constexpr InverseFactorials inverse;

// y rounded to the nearest integer, ties to even, for |y| below 2^51: adding
// 1.5 * 2^52 leaves no bits below the units, so the sum is rounded there (in
// the default rounding mode, as std::nearbyint's) and the subtraction is exact.
double roundToInteger(double y) {
  constexpr double shifter = 6755399441055744.0;  // 0x1.8p52
  return (y + shifter) - shifter;
}

// m * 2^k, as std::ldexp gives it: one multiplication by the power, itself a
// normal double, rounds only where the product is subnormal, and there once.
double timesPowerOfTwo(double m, int k) {
  if (k < -1022 || k > 1023) return std::ldexp(m, k);
  const auto biased = static_cast<std::uint64_t>(k + 1023);
  return m * std::bit_cast<double>(biased << 52);
}

// sin(r) for |r| <= pi/4: its Taylor series to r^19, whose remainder is below
// 2^-60 there, by Horner's rule in r^2.
double sinReduced(double r) {
  if (r == 0.0) return r;  // keeps the sign of a zero
  const double r2 = r * r;
  double sum = -inverse.value[19];
  for (int n = 17; n >= 3; n -= 2) sum = (n % 4 == 1 ? inverse.value[n] : -inverse.value[n]) + r2 * sum;
  return r + r * (r2 * sum);
}

// cos(r) for |r| <= pi/4: its Taylor series to r^20.
double cosReduced(double r) {
  const double r2 = r * r;
  double sum = inverse.value[20];
  for (int n = 18; n >= 4; n -= 2) sum = (n % 4 == 0 ? inverse.value[n] : -inverse.value[n]) + r2 * sum;
  const double half = 0.5 * r2;
  return (1.0 - half) + ((1.0 - (1.0 - half)) - half + r2 * (r2 * sum));
}

// x reduced to r in [-pi/4, pi/4] with x = r + k pi/2; k modulo 4.
struct Reduced {
  double r;
  int quadrant;
};

Reduced reduce(double x) {
  if (std::fabs(x) <= quarterPi) return {x, 0};
  const double k = std::nearbyint(x / halfPi);
  const double r = ((x - k * halfPiHigh) - k * halfPiMiddle) - k * halfPiLow;
  // |k| is below 2^19: a whole number an integer holds; its two lowest bits
  // are k modulo 4, negative k included.
  return {r, static_cast<int>(static_cast<std::int64_t>(k) & 3)};
}

// atan(k / 8) for k = 0 .. 8, each the double nearest the true value.
constexpr double atanEighths[9] = {
    0.0,                 0.12435499454676144, 0.24497866312686414, 0.35877067027057225, 0.4636476090008061,
    0.5585993153435624,  0.6435011087932844,  0.7188299996216245,  0.7853981633974483};

// atan(t) for |t| <= 1/16: its series to t^15, whose remainder is below 2^-70
// of t there.
double atanSmall(double t) {
  const double t2 = t * t;
  double sum = 0.0;
  for (int n = 15; n >= 3; n -= 2) sum = (n % 4 == 1 ? 1.0 : -1.0) / n + t2 * sum;
  return t + t * (t2 * sum);
}

// atan(a) for 0 <= a <= 1: atan a = atan c + atan((a - c) / (1 + a c)) with c
// the nearest eighth, which leaves at most 1/16 for the series.
double atanUnit(double a) {
  const double k = std::nearbyint(8.0 * a);
  const double c = k / 8.0;
  return atanEighths[static_cast<std::size_t>(k)] + atanSmall((a - c) / (1.0 + a * c));
}

}  // namespace

double sin(double x) {
  if (!std::isfinite(x)) return nan;
  if (std::fabs(x) >= largeAngle) return sine(x);
  const Reduced z = reduce(x);
  switch (z.quadrant) {
    case 0: return sinReduced(z.r);
    case 1: return cosReduced(z.r);
    case 2: return -sinReduced(z.r);
    default: return -cosReduced(z.r);
  }
}

double cos(double x) {
  if (!std::isfinite(x)) return nan;
  if (std::fabs(x) >= largeAngle) return cosine(x);
  const Reduced z = reduce(x);
  switch (z.quadrant) {
    case 0: return cosReduced(z.r);
    case 1: return -sinReduced(z.r);
    case 2: return -cosReduced(z.r);
    default: return sinReduced(z.r);
  }
}

SineCosine sinCos(double x) {
  if (!std::isfinite(x)) return {nan, nan};
  if (std::fabs(x) >= largeAngle) return {sine(x), cosine(x)};
  const Reduced z = reduce(x);
  const double s = sinReduced(z.r), c = cosReduced(z.r);
  switch (z.quadrant) {
    case 0: return {s, c};
    case 1: return {c, -s};
    case 2: return {-s, -c};
    default: return {-c, s};
  }
}

double tan(double x) {
  const SineCosine sc = sinCos(x);
  return sc.sine / sc.cosine;
}

double atan(double x) {
  if (std::isnan(x)) return x;
  const double a = std::fabs(x);
  // Beyond 1, atan a = pi/2 - atan(1/a); 1/infinity is 0.
  const double angle = a <= 1.0 ? atanUnit(a) : (halfPiHigh - atanUnit(1.0 / a)) + (halfPiMiddle + halfPiLow);
  return std::copysign(angle, x);
}

double asin(double t) {
  if (!(std::fabs(t) <= 1.0)) return nan;
  if (std::fabs(t) == 1.0) return t * halfPi;
  return atan(t / std::sqrt((1.0 - t) * (1.0 + t)));
}

double atan2(double y, double x) {
  if (std::isnan(x) || std::isnan(y)) return nan;
  if (x == 0.0 && y == 0.0) return std::signbit(x) ? std::copysign(2.0 * halfPi, y) : std::copysign(0.0, y);
  if (std::fabs(y) <= std::fabs(x)) {
    const double angle = atan(y / x);
    if (x > 0.0) return angle;
    return y < 0.0 || (y == 0.0 && std::signbit(y)) ? angle - 2.0 * halfPi : angle + 2.0 * halfPi;
  }
  const double angle = -atan(x / y);
  return y > 0.0 ? angle + halfPi : angle - halfPi;
}

double exp(double x) {
  if (std::isnan(x)) return x;
  if (x > 709.8) return std::numeric_limits<double>::infinity();
  if (x < -745.2) return 0.0;
  // x = k ln 2 + r with |r| <= ln 2 / 2; e^r by its Taylor series to r^20,
  // whose remainder is below 2^-70 there; then scaled by 2^k exactly.
  const double k = roundToInteger(x / ln2High);
  const double r = (x - k * ln2High) - k * ln2Low;
  double sum = inverse.value[20];
  for (int n = 19; n >= 1; --n) sum = inverse.value[n] + r * sum;
  return timesPowerOfTwo(1.0 + r * sum, static_cast<int>(k));
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
