#include "report/inference/draws.h"

#include <cmath>

#include "numeric/elementary.h"

namespace skidlog {
namespace {

constexpr double twoPi = 6.283185307179586;

// Uniform in (0, 1): never 0, whose log is infinite.
double openUniform(Random& random) {
  double u = 0.0;
  while (u == 0.0) u = random.uniform();
  return u;
}

}  // namespace

double normalDraw(Random& random) {
  const double u = openUniform(random), v = random.uniform();
  return std::sqrt(-2.0 * portable::log(u)) * portable::cos(twoPi * v);
}

double gammaDraw(Random& random, double shape) {
  if (shape < 1.0) {
    // Gamma(a) = Gamma(a + 1) U^(1/a).
    const double g = gammaDraw(random, shape + 1.0);
    return g * portable::exp(portable::log(openUniform(random)) / shape);
  }
  const double d = shape - 1.0 / 3.0, c = 1.0 / std::sqrt(9.0 * d);
  for (;;) {
    const double x = normalDraw(random);
    const double base = 1.0 + c * x;
    if (base <= 0.0) continue;
    const double v = base * base * base;
    const double u = openUniform(random);
    if (portable::log(u) < 0.5 * x * x + d - d * v + d * portable::log(v)) return d * v;
  }
}

double studentDraw(Random& random, double df) {
  const double z = normalDraw(random);
  const double chi2 = 2.0 * gammaDraw(random, df / 2.0);
  return z / std::sqrt(chi2 / df);
}

}  // namespace skidlog
