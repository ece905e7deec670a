#include "report/inference/gamma_functions.h"

#include <cmath>
#include <limits>

#include "numeric/elementary.h"

namespace skidlog {
namespace {

constexpr double nan = std::numeric_limits<double>::quiet_NaN();
// Beyond this the asymptotic series below hold to 1e-15.
constexpr double asymptoticFrom = 20.0;
constexpr double halfLogTwoPi = 0.91893853320467274178;  // log(2 pi) / 2

}  // namespace

double logGamma(double x) {
  if (!(x > 0.0)) return nan;
  if (std::isinf(x)) return x;
  // Gamma(x) = Gamma(x + n) / (x (x + 1) ... (x + n - 1)).
  double product = 1.0;
  while (x < asymptoticFrom) {
    product *= x;
    x += 1.0;
  }
  const double inv = 1.0 / x, inv2 = inv * inv;
  // Stirling's series to x^-9.
  const double series =
      inv * (1.0 / 12.0 - inv2 * (1.0 / 360.0 - inv2 * (1.0 / 1260.0 - inv2 * (1.0 / 1680.0 - inv2 / 1188.0))));
  return ((x - 0.5) * portable::log(x) - x + halfLogTwoPi + series) - portable::log(product);
}

double digamma(double x) {
  if (!(x > 0.0)) return nan;
  // psi(x) = psi(x + 1) - 1 / x.
  double shift = 0.0;
  while (x < asymptoticFrom) {
    shift += 1.0 / x;
    x += 1.0;
  }
  const double inv2 = 1.0 / (x * x);
  const double series =
      inv2 * (1.0 / 12.0 - inv2 * (1.0 / 120.0 - inv2 * (1.0 / 252.0 - inv2 * (1.0 / 240.0 - inv2 / 132.0))));
  return (portable::log(x) - 0.5 / x - series) - shift;
}

double trigamma(double x) {
  if (!(x > 0.0)) return nan;
  // psi'(x) = psi'(x + 1) + 1 / x^2.
  double shift = 0.0;
  while (x < asymptoticFrom) {
    shift += 1.0 / (x * x);
    x += 1.0;
  }
  const double inv = 1.0 / x, inv2 = inv * inv;
  const double series =
      inv2 * inv * (1.0 / 6.0 - inv2 * (1.0 / 30.0 - inv2 * (1.0 / 42.0 - inv2 * (1.0 / 30.0 - inv2 * 5.0 / 66.0))));
  return (inv + 0.5 * inv2 + series) + shift;
}

double tetragamma(double x) {
  if (!(x > 0.0)) return nan;
  // psi''(x) = psi''(x + 1) - 2 / x^3.
  double shift = 0.0;
  while (x < asymptoticFrom) {
    shift += 2.0 / (x * x * x);
    x += 1.0;
  }
  const double inv = 1.0 / x, inv2 = inv * inv;
  const double series =
      inv2 * inv2 * (0.5 - inv2 * (1.0 / 6.0 - inv2 * (1.0 / 6.0 - inv2 * (0.3 - inv2 * 5.0 / 6.0))));
  return -(inv2 + inv2 * inv + series) - shift;
}

double trigammaInverse(double x) {
  if (!(x > 0.0)) return nan;
  if (x > 1e7) return 1.0 / std::sqrt(x);
  if (x < 1e-6) return 1.0 / x;
  // Newton's method on 1 / trigamma(y), which is nearly linear in y: it
  // rises to the root from any start below it, and 0.5 + 1 / x is one.
  double y = 0.5 + 1.0 / x;
  for (int iteration = 0; iteration < 50; ++iteration) {
    const double tri = trigamma(y);
    const double step = tri * (1.0 - tri / x) / tetragamma(y);
    y += step;
    if (-step / y < 1e-8) break;
  }
  return y;
}

namespace {

// The continued fraction of I_x(a, b) by Lentz's method, for x below
// (a + 1) / (a + b + 2), where it converges fast.
double betaFraction(double a, double b, double x) {
  constexpr double tiny = 1e-300;
  const double qab = a + b, qap = a + 1.0, qam = a - 1.0;
  double c = 1.0, d = 1.0 - qab * x / qap;
  if (std::fabs(d) < tiny) d = tiny;
  d = 1.0 / d;
  double h = d;
  for (int m = 1; m <= 300; ++m) {
    const double m2 = 2.0 * m;
    double aa = m * (b - m) * x / ((qam + m2) * (a + m2));
    d = 1.0 + aa * d;
    if (std::fabs(d) < tiny) d = tiny;
    c = 1.0 + aa / c;
    if (std::fabs(c) < tiny) c = tiny;
    d = 1.0 / d;
    h *= d * c;
    aa = -(a + m) * (qab + m) * x / ((a + m2) * (qap + m2));
    d = 1.0 + aa * d;
    if (std::fabs(d) < tiny) d = tiny;
    c = 1.0 + aa / c;
    if (std::fabs(c) < tiny) c = tiny;
    d = 1.0 / d;
    const double del = d * c;
    h *= del;
    if (std::fabs(del - 1.0) < 1e-15) break;
  }
  return h;
}

}  // namespace

double incompleteBeta(double a, double b, double x, double oneMinusX) {
  if (!(a > 0.0) || !(b > 0.0) || !(x >= 0.0) || !(oneMinusX >= 0.0)) return nan;
  if (x == 0.0) return 0.0;
  if (oneMinusX == 0.0) return 1.0;
  const double front = portable::exp(logGamma(a + b) - logGamma(a) - logGamma(b) + a * portable::log(x) +
                                     b * portable::log(oneMinusX));
  if (x < (a + 1.0) / (a + b + 2.0)) return front * betaFraction(a, b, x) / a;
  return 1.0 - front * betaFraction(b, a, oneMinusX) / b;
}

}  // namespace skidlog
