#include "report/inference/chi_square.h"

#include <cmath>
#include <limits>

#include "numeric/elementary.h"
#include "report/inference/gamma_functions.h"

namespace skidlog {
namespace {

constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr int maxTerms = 1000;
constexpr double tolerance = 1e-16;

// P(a, x) by its power series, for x < a + 1.
double lowerSeries(double a, double x, double front) {
  double term = 1.0 / a, sum = term;
  for (int n = 1; n < maxTerms && std::fabs(term) > std::fabs(sum) * tolerance; ++n) {
    term *= x / (a + n);
    sum += term;
  }
  return front * sum;
}

// Q(a, x) = 1 - P(a, x) by its continued fraction (modified Lentz), for
// x >= a + 1.
double upperFraction(double a, double x, double front) {
  constexpr double tiny = 1e-300;
  double b = x + 1.0 - a, c = 1.0 / tiny, d = 1.0 / b, h = d;
  for (int n = 1; n < maxTerms; ++n) {
    const double an = -n * (n - a);
    b += 2.0;
    d = an * d + b;
    if (std::fabs(d) < tiny) d = tiny;
    c = b + an / c;
    if (std::fabs(c) < tiny) c = tiny;
    d = 1.0 / d;
    const double step = d * c;
    h *= step;
    if (std::fabs(step - 1.0) < tolerance) break;
  }
  return front * h;
}

}  // namespace

double lowerGammaRatio(double a, double x) {
  if (!(a > 0.0) || !(x >= 0.0)) return nan;
  if (x == 0.0) return 0.0;
  if (std::isinf(x)) return 1.0;
  const double front = portable::exp(a * portable::log(x) - x - logGamma(a));
  if (x < a + 1.0) return lowerSeries(a, x, front);
  return 1.0 - upperFraction(a, x, front);
}

double chiSquareQuantile(double p, double df) {
  if (!(p > 0.0 && p < 1.0) || !(df > 0.0)) return nan;
  // Bisection on the distribution function: it rises monotonically, and a
  // fixed number of halvings gives every platform the same answer.
  double low = 0.0, high = df + 10.0 * std::sqrt(2.0 * df) + 50.0;
  while (lowerGammaRatio(df / 2.0, high / 2.0) < p) high *= 2.0;
  for (int i = 0; i < 200 && high - low > high * 1e-15; ++i) {
    const double mid = (low + high) / 2.0;
    (lowerGammaRatio(df / 2.0, mid / 2.0) < p ? low : high) = mid;
  }
  return (low + high) / 2.0;
}

Interval spreadInterval(double s, double df) {
  return {s * std::sqrt(df / chiSquareQuantile(0.975, df)), s * std::sqrt(df / chiSquareQuantile(0.025, df))};
}

}  // namespace skidlog
