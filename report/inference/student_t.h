// Student's t distribution at any degrees of freedom, whole or not (a
// moderated spread's are the prior's plus the laps'), and any level (a
// false-coverage interval's level falls with the claims of its family).
#ifndef SKIDLOG_REPORT_INFERENCE_STUDENT_T_H_
#define SKIDLOG_REPORT_INFERENCE_STUDENT_T_H_

namespace skidlog {

// P(|T| >= |t|) for T with `df` degrees of freedom: the two-sided p-value
// of a t statistic. REQUIRES: df > 0.
double studentTwoSided(double t, double df);

// The t > 0 with P(|T| >= t) = `p`: the half-width, in standard errors, of
// a two-sided interval at level 1 - p. REQUIRES: 0 < p < 1, df > 0.
double studentQuantile(double p, double df);

// The quantile of Student's t that leaves 2.5 % above it, at degrees of
// freedom whole (the laps': the table of studentT975(int)) or not
// (moderated). REQUIRES: df > 0.
double studentT975(double df);

}  // namespace skidlog

#endif  // SKIDLOG_REPORT_INFERENCE_STUDENT_T_H_
