// The gamma function's relatives and the incomplete beta function, as the
// few-laps statistics need them: from arithmetic, square roots and the
// platform-free exp and log, so that every platform gives the same bits.
#ifndef SKIDLOG_REPORT_INFERENCE_GAMMA_FUNCTIONS_H_
#define SKIDLOG_REPORT_INFERENCE_GAMMA_FUNCTIONS_H_

namespace skidlog {

// log Gamma(x), digamma (its derivative), trigamma and tetragamma (the next
// two) for x > 0, to about 1e-14 relative. NaN for x <= 0.
double logGamma(double x);
double digamma(double x);
double trigamma(double x);
double tetragamma(double x);

// The y > 0 whose trigamma is `x` (x > 0), by Newton's method.
double trigammaInverse(double x);

// The regularised incomplete beta function I_x(a, b) for a, b > 0, given
// both x and 1 - x (so that a caller who has 1 - x exactly loses nothing
// to the subtraction). REQUIRES: 0 <= x <= 1, oneMinusX = 1 - x.
double incompleteBeta(double a, double b, double x, double oneMinusX);

}  // namespace skidlog

#endif  // SKIDLOG_REPORT_INFERENCE_GAMMA_FUNCTIONS_H_
