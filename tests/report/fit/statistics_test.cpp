#include "report/fit/statistics.h"

#include <cmath>
#include <vector>

#include <gtest/gtest.h>

namespace skidlog {
namespace {

TEST(Statistics, MedianOfAnEvenCountIsTheMeanOfItsTwoMiddleValues) {
  std::vector<double> even = {4.0, 1.0, 3.0, 2.0};
  EXPECT_EQ(median(even), 2.5);
  std::vector<double> odd = {5.0, 1.0, 3.0};
  EXPECT_EQ(median(odd), 3.0);
  std::vector<float> floats = {0.25f, -1.0f, 0.75f, 9.0f, 0.5f, 0.5f};
  EXPECT_EQ(median(std::span<float>(floats)), 0.5);
  std::vector<float> pair = {0.1f, 0.2f};
  EXPECT_EQ(median(std::span<float>(pair)), (static_cast<double>(0.1f) + static_cast<double>(0.2f)) / 2.0);
  std::vector<double> none;
  EXPECT_TRUE(std::isnan(median(none)));
  EXPECT_TRUE(std::isnan(mean(none)));
}

TEST(Statistics, QuantilesPickOrInterpolateBetweenOrderStatistics) {
  const std::vector<float> values = {3.0f, 0.0f, 2.0f, 1.0f, 4.0f};
  EXPECT_EQ(quantile(values, 0.0), 0.0);
  EXPECT_EQ(quantile(values, 0.6), 2.0);  // floor(0.6 x 4) = 2
  EXPECT_EQ(quantile(values, 1.0), 4.0);
  EXPECT_EQ(quantile(std::vector<float>{}, 0.5), 0.0);
  const std::vector<double> sorted = {0.0, 1.0, 2.0, 3.0, 4.0};
  EXPECT_EQ(sortedQuantile(sorted, 0.6), 2.4);
  EXPECT_EQ(sortedQuantile(sorted, 1.0), 4.0);
}

}  // namespace
}  // namespace skidlog
