#include "report/inference/student_t.h"

#include <cmath>
#include <limits>

#include "report/fit/statistics.h"
#include "report/inference/gamma_functions.h"

namespace skidlog {

double studentTwoSided(double t, double df) {
  if (std::isnan(t) || !(df > 0.0)) return std::numeric_limits<double>::quiet_NaN();
  if (std::isinf(t)) return 0.0;
  // P(|T| >= t) = I_x(df / 2, 1 / 2) with x = df / (df + t^2); 1 - x is
  // formed on its own, so a small t loses nothing.
  const double t2 = t * t, sum = df + t2;
  return incompleteBeta(df / 2.0, 0.5, df / sum, t2 / sum);
}

double studentQuantile(double p, double df) {
  if (!(p > 0.0 && p < 1.0) || !(df > 0.0)) return std::numeric_limits<double>::quiet_NaN();
  // The two-sided p-value falls as t grows: bracket the root, then halve
  // the bracket until it holds one double or 200 halvings are done.
  double low = 0.0, high = 2.0;
  while (studentTwoSided(high, df) > p && high < 1e300) {
    low = high;
    high *= 2.0;
  }
  for (int k = 0; k < 200; ++k) {
    const double mid = low + (high - low) / 2.0;
    if (!(mid > low && mid < high)) break;
    if (studentTwoSided(mid, df) > p) {
      low = mid;
    } else {
      high = mid;
    }
  }
  return high;
}

double studentT975(double df) {
  if (df >= 1.0 && df == std::floor(df) && df < 2e9) return studentT975(static_cast<int>(df));
  return studentQuantile(0.05, df);
}

}  // namespace skidlog
