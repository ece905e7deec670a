// The chi-square distribution, for an interval on a spread measured over
// few laps: s^2 (n - 1) / sigma^2 follows chi-square with n - 1 degrees of
// freedom, so sigma lies between s sqrt(df / q_high) and s sqrt(df / q_low).
// From the platform-free exp and log: every platform gives the same bits.
#ifndef SKIDLOG_REPORT_INFERENCE_CHI_SQUARE_H_
#define SKIDLOG_REPORT_INFERENCE_CHI_SQUARE_H_

#include "report/fit/bootstrap.h"

namespace skidlog {

// The regularised lower incomplete gamma function P(a, x) for a > 0,
// x >= 0; NaN outside.
double lowerGammaRatio(double a, double x);

// The x with P(X <= x) = `p` for X chi-square with `df` degrees of
// freedom. REQUIRES: 0 < p < 1, df > 0.
double chiSquareQuantile(double p, double df);

// The 95 % interval of a standard deviation `s` measured with `df` degrees
// of freedom (laps - 1). REQUIRES: df > 0.
Interval spreadInterval(double s, double df);

}  // namespace skidlog

#endif  // SKIDLOG_REPORT_INFERENCE_CHI_SQUARE_H_
