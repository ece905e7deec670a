// Properties every conversion keeps, checked over many generated replays with
// random layouts and hostile values.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "skidlog/skidlog.h"
#include "tests/support/replay_builder.h"

namespace skidlog {
namespace {

using test::ReplayBuilder;

// A small deterministic generator for the mutations.
struct Random {
  std::uint64_t state;
  std::uint32_t next() {
    state = state * 6364136223846793005ull + 1442695040888963407ull;
    return static_cast<std::uint32_t>(state >> 33);
  }
  std::uint32_t below(std::uint32_t n) { return next() % n; }
};

ReplayBuilder mutatedReplay(std::uint64_t seed) {
  Random r{seed};
  ReplayBuilder b = test::drivingReplay(20 + static_cast<int>(r.below(40)), 5.0 + r.below(50));
  const float odd[] = {std::numeric_limits<float>::quiet_NaN(), INFINITY, -INFINITY, 0.0f, -0.0f, 2.9999998f, 0.1f,
                       0.099999994f, -1.0f, 1e30f, 3e9f};
  const std::size_t size = b.bytes().size();
  for (std::uint32_t k = r.below(30); k > 0; --k) {
    const std::size_t at = 1024 + r.below(static_cast<std::uint32_t>(size - 1024 - 4)) / 4 * 4;
    b.put<float>(at, odd[r.below(std::size(odd))]);
  }
  switch (r.below(6)) {
    case 0: b.put<std::uint16_t>(14, static_cast<std::uint16_t>(r.below(400))); break;  // overlapping or sparse blocks
    case 1: b.put<std::uint16_t>(16, static_cast<std::uint16_t>(r.below(64))); break;
    case 2: b.truncate(size - r.below(600)); break;
    case 3: b.put<std::int32_t>(20, static_cast<std::int32_t>(r.below(100)) - 10); break;
    case 4: b.put<std::uint8_t>(9, static_cast<std::uint8_t>(r.below(256))); break;
    default: break;
  }
  return b;
}

using test::fields;

std::vector<std::vector<std::string>> rows(const ReplayBuilder& b, bool sideBySide) {
  StringSink sink;
  std::ostringstream messages;
  ConvertOptions options;
  options.sideBySide = sideBySide;
  options.memoryLimit = std::uint64_t{1} << 30;
  const ExitCode code = convertReplay(b.bytes(), options, sink, messages);
  EXPECT_TRUE(code == ExitCode::success || code == ExitCode::notAReplay);
  std::vector<std::vector<std::string>> out;
  std::istringstream in(sink.text);
  for (std::string line; std::getline(in, line);) out.push_back(fields(line));
  if (code == ExitCode::success) {
    EXPECT_EQ(sink.text.back(), '\n');
  }
  return out;
}

TEST(Invariants, HoldOverManyGeneratedReplays) {
  for (std::uint64_t seed = 1; seed <= 300; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    const ReplayBuilder b = mutatedReplay(seed);
    const auto perWheel = rows(b, false);
    double lastTime = -1.0;
    int lastWheel = 0;
    for (std::size_t k = 0; k < perWheel.size(); ++k) {
      ASSERT_EQ(perWheel[k].size(), 23u);
      if (k == 0) continue;
      const int wheel = std::atoi(perWheel[k][22].c_str());
      const double time = std::strtod(perWheel[k][0].c_str(), nullptr);
      ASSERT_GE(wheel, lastWheel);
      if (wheel == lastWheel) {
        ASSERT_GT(time, lastTime);
      }
      lastWheel = wheel;
      lastTime = time;
      ASSERT_GE(std::strtod(perWheel[k][13].c_str(), nullptr), 3.0) << perWheel[k][13];
    }
    const auto side = rows(b, true);
    for (std::size_t k = 0; k < side.size(); ++k) {
      ASSERT_EQ(side[k].size(), 61u);
      for (std::size_t w = 0; k > 0 && w < 4; ++w) {
        ASSERT_GE(std::strtod(side[k][13 + 13 * w].c_str(), nullptr), 3.0);
      }
    }
  }
}

}  // namespace
}  // namespace skidlog
