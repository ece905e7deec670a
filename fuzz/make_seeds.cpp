// make_seeds <folder>: writes the fuzzer's seed corpus, small replays that
// reach each odd corner of the file layout.
#include <cmath>
#include <cstdio>
#include <fstream>
#include <limits>
#include <string>

#include "tests/support/replay_builder.h"

using skidlog::test::ReplayBuilder;

namespace {

void save(const std::string& folder, const std::string& name, const ReplayBuilder& b) {
  std::ofstream(folder + "/" + name, std::ios::binary) << b.text();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_seeds <folder>\n");
    return 1;
  }
  const std::string dir = argv[1];
  const ReplayBuilder normal = skidlog::test::drivingReplay(12);
  save(dir, "normal", normal);
  save(dir, "truncated-in-block", ReplayBuilder(normal).truncate(1024 + 192 * 5 + 70));
  save(dir, "header-only", ReplayBuilder(normal).truncate(916));
  save(dir, "overlapping-blocks", ReplayBuilder(normal).put<std::uint16_t>(14, 40).put<std::uint16_t>(16, 12));
  save(dir, "block-size-0", ReplayBuilder(normal).put<std::uint16_t>(14, 0));
  save(dir, "wheel-block-size-0", ReplayBuilder(normal).put<std::uint16_t>(16, 0));
  save(dir, "count-0", ReplayBuilder(normal).put<std::int32_t>(20, 0));
  save(dir, "count-minus-1", ReplayBuilder(normal).put<std::int32_t>(20, -1));
  save(dir, "count-max", ReplayBuilder(normal).put<std::int32_t>(20, 2147483647));
  save(dir, "count-max-block-0", ReplayBuilder(normal).put<std::int32_t>(20, 2147483647).put<std::uint16_t>(14, 0));
  save(dir, "interval-100", ReplayBuilder(normal).put<std::uint8_t>(9, 100));
  save(dir, "masses-equal", ReplayBuilder(normal).put<float>(192, 1200.0f));
  ReplayBuilder hostile = normal;
  const float odd[] = {std::numeric_limits<float>::quiet_NaN(), INFINITY, -INFINITY, 3e38f, 1e-45f, -0.0f};
  for (int i = 0; i < 12; ++i) {
    hostile.axes(i, {-32768, -32768, 32767}, {static_cast<std::int16_t>(i * 5000 - 32768), 0, -32768});
    hostile.put<std::uint8_t>(ReplayBuilder::block(i) + 20, i % 2 ? 255 : 0);
    hostile.put<float>(ReplayBuilder::wheel(i, i % 4) + 4 * static_cast<std::size_t>(i % 7), odd[i % 6]);
    hostile.put<float>(ReplayBuilder::block(i) + 24, odd[(i + 1) % 6]);
  }
  save(dir, "hostile-values", hostile);
  ReplayBuilder rearFirst = normal;
  rearFirst.geometry(0, -0.7f, -1.3f, 0.1f, 0.3f).geometry(1, 0.7f, -1.3f, 0.1f, 0.3f);
  rearFirst.geometry(2, -0.7f, 1.0f, 0.1f, 0.3f).geometry(3, 0.7f, 1.0f, 0.1f, 0.3f);
  save(dir, "rear-axle-first", rearFirst);
  // A whole lap of two seconds with its split times, turning a corner: the
  // laps by place (alignment, delta, corners).
  ReplayBuilder lap = skidlog::test::drivingReplay(200);
  for (int i = 0; i < 200; ++i) {
    const double angle = 20.0 * 0.01 * i / 30.0;  // at 20 m/s around a radius of 30 m
    lap.position(i, 30.0 * std::sin(angle), 30.0 - 30.0 * std::cos(angle), 2.0);
  }
  lap.put<std::uint8_t>(171, 3).put<std::int32_t>(172, 500).put<std::int32_t>(176, 1000).put<std::int32_t>(180, 2000);
  save(dir, "whole-lap", lap);
  return 0;
}
