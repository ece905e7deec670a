#include "numeric/series_memory.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "raf/tracks.h"

namespace skidlog {
namespace {

// A long series starts on a 2 MiB boundary (where the platform lays it on
// huge pages) and holds what is put in it, through growth and moves.
TEST(SeriesMemory, LongAndShortSeriesHoldTheirEntries) {
  Series<float> longSeries;
  longSeries.reserve(hugeSeriesBytes);  // 4 MiB of floats
#if defined(__linux__)
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(longSeries.data()) % (std::uintptr_t{2} << 20), 0u);
#endif
  Series<float> shortSeries;
  for (std::size_t i = 0; i < hugeSeriesBytes; ++i) {
    longSeries.push_back(static_cast<float>(i));
    if (i < 1000) shortSeries.push_back(static_cast<float>(i));
  }
  Series<float> moved = std::move(longSeries);
  moved.shrink_to_fit();
  EXPECT_EQ(moved[hugeSeriesBytes - 1], static_cast<float>(hugeSeriesBytes - 1));
  EXPECT_EQ(shortSeries[999], 999.0f);
  Series<Vector3> grown;
  for (int i = 0; i < 300000; ++i) grown.push_back({1.0f, static_cast<float>(i), 3.0f});  // reallocates on the way
  EXPECT_EQ(grown.back().y, 299999.0f);
}

}  // namespace
}  // namespace skidlog
