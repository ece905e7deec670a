// The few summary statistics the report uses, each with one definition: the
// median of an even count is the mean of its two middle values; a quantile is
// either the order statistic below it (a fast, exact pick from many samples)
// or linear between the order statistics (for a few hundred resamples).
#ifndef SKIDLOG_REPORT_FIT_STATISTICS_H_
#define SKIDLOG_REPORT_FIT_STATISTICS_H_

#include <span>
#include <vector>

namespace skidlog {

// The mean of `values`; NaN when there are none.
double mean(std::span<const double> values);

// The median of `values`, reordering them; NaN when there are none.
double median(std::span<double> values);
double median(std::span<float> values);

// The order statistic at floor(q (n - 1)) of `values`, q from 0 to 1, by a
// partial sort of a copy; 0 when there are none.
double quantile(std::span<const float> values, double q);

// The quantile of Student's t distribution with `df` degrees of freedom that
// leaves 2.5 % above it: the half-width of a two-sided 95 % interval in
// standard errors. Exact to 1e-15 up to 30 degrees of freedom (a table),
// to 1e-7 beyond (a series in 1/df). REQUIRES: df >= 1.
double studentT975(int df);

// The same order statistic of `values`, reordering them in place.
double quantileInPlace(std::span<double> values, double q);

// The q-th quantile of ascending `sorted`, linear between order statistics.
// REQUIRES: sorted is not empty.
double sortedQuantile(std::span<const double> sorted, double q);

}  // namespace skidlog

#endif  // SKIDLOG_REPORT_FIT_STATISTICS_H_
