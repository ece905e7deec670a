#include "report/fit/statistics.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>

namespace skidlog {
namespace {

template <class T>
double middle(std::span<T> values) {
  if (values.empty()) return std::numeric_limits<double>::quiet_NaN();
  const auto mid = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
  std::nth_element(values.begin(), mid, values.end());
  const auto upper = static_cast<double>(*mid);
  if (values.size() % 2 == 1) return upper;
  // The lower middle value is the largest of those before the upper one.
  const auto lower = static_cast<double>(*std::max_element(values.begin(), mid));
  return (lower + upper) / 2.0;
}

}  // namespace

double mean(std::span<const double> values) {
  if (values.empty()) return std::numeric_limits<double>::quiet_NaN();
  double sum = 0.0;
  for (const double x : values) sum += x;
  return sum / static_cast<double>(values.size());
}

double median(std::span<double> values) { return middle(values); }
double median(std::span<float> values) { return middle(values); }

double quantile(std::span<const float> values, double q) {
  if (values.empty()) return 0.0;
  std::vector<float> copy(values.begin(), values.end());
  const auto k = static_cast<std::size_t>(std::clamp(q, 0.0, 1.0) * static_cast<double>(copy.size() - 1));
  std::nth_element(copy.begin(), copy.begin() + static_cast<std::ptrdiff_t>(k), copy.end());
  return static_cast<double>(copy[k]);
}

double sortedQuantile(std::span<const double> sorted, double q) {
  const double at = q * static_cast<double>(sorted.size() - 1);
  const auto below = static_cast<std::size_t>(std::floor(at));
  const std::size_t above = std::min(below + 1, sorted.size() - 1);
  return sorted[below] + (at - static_cast<double>(below)) * (sorted[above] - sorted[below]);
}

}  // namespace skidlog
