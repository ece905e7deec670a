#include "numeric/trig.h"

#include <cmath>
#include <cstdint>

namespace skidlog {
namespace {

// The binary fraction of 2/pi, 1344 bits, most significant first.
constexpr std::uint64_t twoOverPi[] = {
    0xA2F9836E4E441529, 0xFC2757D1F534DDC0, 0xDB6295993C439041, 0xFE5163ABDEBBC561, 0xB7246E3A424DD2E0,
    0x06492EEA09D1921C, 0xFE1DEB1CB129A73E, 0xE88235F52EBB4484, 0xE99C7026B45F7E41, 0x3991D639835339F4,
    0x9C845F8BBDF9283B, 0x1FF897FFDE05980F, 0xEF2F118B5A0A6D1F, 0x6D367ECF27CB09B7, 0x4F463F669E5FEA2D,
    0x7527BAC7EBE5F17B, 0x3D0739F78A5292EA, 0x6BFB5FB11F8D5D08, 0x56033046FC7B6BAB, 0xF0CFBC209AF4361D,
    0xA9E391615EE61B08,
};
constexpr int twoOverPiBits = 64 * static_cast<int>(sizeof twoOverPi / sizeof twoOverPi[0]);

// pi/2 as an unevaluated sum of two doubles.
constexpr double halfPiHigh = 1.5707963267948966;     // 0x3FF921FB54442D18
constexpr double halfPiLow = 6.123233995736766e-17;  // 0x3C91A62633145C07

// 64 bits of a bit string held most significant first, from bit `at` on;
// bits past the end read as zero.
std::uint64_t bitsAt(const std::uint64_t* limbs, int count, int at) {
  const int limb = at / 64;
  const int shift = at % 64;
  const std::uint64_t first = limb < count ? limbs[limb] : 0;
  const std::uint64_t second = limb + 1 < count ? limbs[limb + 1] : 0;
  return shift == 0 ? first : (first << shift) | (second >> (64 - shift));
}

// a * b as a 128-bit value, from 32-bit halves.
void multiply64(std::uint64_t a, std::uint64_t b, std::uint64_t& high, std::uint64_t& low) {
  const std::uint64_t aLow = a & 0xFFFFFFFF, aHigh = a >> 32, bLow = b & 0xFFFFFFFF, bHigh = b >> 32;
  const std::uint64_t ll = aLow * bLow, lh = aLow * bHigh, hl = aHigh * bLow, hh = aHigh * bHigh;
  const std::uint64_t middle = (ll >> 32) + (lh & 0xFFFFFFFF) + (hl & 0xFFFFFFFF);
  low = (middle << 32) | (ll & 0xFFFFFFFF);
  high = hh + (lh >> 32) + (hl >> 32) + (middle >> 32);
}

// The rounding error of a * b, exactly (Dekker's product; needs no fused multiply-add).
double productError(double a, double b, double product) {
  const auto split = [](double v, double& high, double& low) {
    const double c = 134217729.0 * v;  // 2^27 + 1
    high = c - (c - v);
    low = v - high;
  };
  double aHigh, aLow, bHigh, bLow;
  split(a, aHigh, aLow);
  split(b, bHigh, bLow);
  return ((aHigh * bHigh - product) + aHigh * bLow + aLow * bHigh) + aLow * bLow;
}

struct Reduced {
  int quadrant;  // x = quadrant * pi/2 + r, modulo 2 pi
  double high;   // r = high + low, |r| <= pi/4
  double low;
};

// Payne and Hanek's reduction of a finite x >= largeAngle: x * 2/pi with
// enough bits of 2/pi that the fraction keeps well over 100 good bits.
Reduced reduce(double x) {
  int exponent = 0;
  const double fraction = std::frexp(x, &exponent);
  const auto mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, 53));  // x = mantissa * 2^e
  const int e = exponent - 53;
  // Bits of 2/pi worth 4 or more times the mantissa add whole turns: skip them.
  const int start = e - 2 > 0 ? e - 2 : 0;
  std::uint64_t window[4];
  for (int k = 0; k < 4; ++k) window[k] = bitsAt(twoOverPi, twoOverPiBits / 64, start + 64 * k);
  // product = mantissa * window, 320 bits, most significant limb first.
  std::uint64_t product[5];
  std::uint64_t carry = 0;
  for (int k = 3; k >= 0; --k) {
    std::uint64_t high, low;
    multiply64(mantissa, window[k], high, low);
    product[k + 1] = low + carry;
    carry = high + (product[k + 1] < low ? 1 : 0);
  }
  product[0] = carry;
  // x * 2/pi = product / 2^fractionBits.
  const int fractionBits = start + 256 - e;
  const int point = 320 - fractionBits;
  int quadrant = static_cast<int>((bitsAt(product, 5, point - 2) >> 62) & 3);
  std::uint64_t f[4];
  for (int k = 0; k < 4; ++k) f[k] = bitsAt(product, 5, point + 64 * k);
  bool negative = false;
  if (f[0] >> 63) {  // a fraction of one half or more: take 1 - fraction, one quadrant on
    negative = true;
    quadrant = (quadrant + 1) & 3;
    bool carryOne = true;
    for (int k = 3; k >= 0; --k) {
      f[k] = ~f[k] + (carryOne ? 1 : 0);
      carryOne = carryOne && f[k] == 0;
    }
  }
  int zeros = 0;
  while (zeros < 192 && bitsAt(f, 4, zeros) >> 63 == 0) ++zeros;
  const std::uint64_t top = bitsAt(f, 4, zeros);
  const std::uint64_t next = bitsAt(f, 4, zeros + 64);
  const double high = std::ldexp(static_cast<double>(top >> 11), -53 - zeros);
  const double low = std::ldexp(static_cast<double>(((top & 0x7FF) << 53) | (next >> 11)), -117 - zeros);
  // r = (high + low) * pi/2 as a double-double.
  const double p = high * halfPiHigh;
  const double tail = productError(high, halfPiHigh, p) + (high * halfPiLow + low * halfPiHigh);
  const double rHigh = p + tail;
  const double rLow = tail - (rHigh - p);
  return negative ? Reduced{quadrant, -rHigh, -rLow} : Reduced{quadrant, rHigh, rLow};
}

// cos(a) and sin(a) for a >= largeAngle: the reduced angle's sine and
// cosine (to first order in its low part), placed by its quadrant.
void largeCosSin(double a, double& cosA, double& sinA) {
  const Reduced r = reduce(a);
  const double sh = std::sin(r.high);
  const double ch = std::cos(r.high);
  const double s = sh + ch * r.low;
  const double c = ch - sh * r.low;
  const double cosines[4] = {c, -s, -c, s};
  const double sines[4] = {s, c, -s, -c};
  cosA = cosines[r.quadrant];
  sinA = sines[r.quadrant];
}

}  // namespace

double cosine(double x) {
  const double a = std::fabs(x);
  if (!(a >= largeAngle) || std::isinf(a)) return std::cos(x);
  double c, s;
  largeCosSin(a, c, s);
  return c;
}

double sine(double x) {
  const double a = std::fabs(x);
  if (!(a >= largeAngle) || std::isinf(a)) return std::sin(x);
  double c, s;
  largeCosSin(a, c, s);
  return x < 0 ? -s : s;
}

}  // namespace skidlog
