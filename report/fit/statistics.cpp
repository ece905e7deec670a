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

namespace {

template <class T>
double orderStatistic(std::span<T> values, double q) {
  if (values.empty()) return 0.0;
  const auto k = static_cast<std::size_t>(std::clamp(q, 0.0, 1.0) * static_cast<double>(values.size() - 1));
  std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(k), values.end());
  return static_cast<double>(values[k]);
}

}  // namespace

double quantile(std::span<const float> values, double q) {
  std::vector<float> copy(values.begin(), values.end());
  return orderStatistic(std::span<float>(copy), q);
}

double quantileInPlace(std::span<double> values, double q) { return orderStatistic(values, q); }

double studentT975(int df) {
  // t(0.975, df) for df = 1 .. 30.
  static constexpr double table[30] = {
      12.706204736432095, 4.302652729911275,  3.182446305284263,  2.7764451051977987, 2.5705818366147395,
      2.4469118487916806, 2.3646242510102993, 2.3060041350333704, 2.2621571627409915, 2.2281388519649385,
      2.200985160082949,  2.1788128296634177, 2.1603686564610127, 2.1447866879169273, 2.131449545559323,
      2.1199052992210112, 2.1098155778331806, 2.10092204024096,   2.093024054408263,  2.0859634472658364,
      2.079613844727662,  2.0738730679040147, 2.0686576104190406, 2.0638985616280205, 2.059538552753294,
      2.055529438642871,  2.0518305164802833, 2.048407141795244,  2.045229642132703,  2.0422724563012373};
  if (df <= 30) return table[std::max(df, 1) - 1];
  // The Cornish-Fisher expansion about the normal quantile: arithmetic only,
  // so the same on every platform.
  constexpr double z = 1.959963984540054;
  const double n = static_cast<double>(df);
  const double z2 = z * z, z3 = z2 * z, z5 = z3 * z2, z7 = z5 * z2, z9 = z7 * z2;
  return z + (z3 + z) / (4.0 * n) + (5.0 * z5 + 16.0 * z3 + 3.0 * z) / (96.0 * n * n) +
         (3.0 * z7 + 19.0 * z5 + 17.0 * z3 - 15.0 * z) / (384.0 * n * n * n) +
         (79.0 * z9 + 776.0 * z7 + 1482.0 * z5 - 1920.0 * z3 - 945.0 * z) / (92160.0 * n * n * n * n);
}

double sortedQuantile(std::span<const double> sorted, double q) {
  const double at = q * static_cast<double>(sorted.size() - 1);
  const auto below = static_cast<std::size_t>(std::floor(at));
  const std::size_t above = std::min(below + 1, sorted.size() - 1);
  return sorted[below] + (at - static_cast<double>(below)) * (sorted[above] - sorted[below]);
}

}  // namespace skidlog
