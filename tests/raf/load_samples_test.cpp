#include <gtest/gtest.h>

#include <functional>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "csv/csv_writer.h"
#include "skidlog/skidlog.h"
#include "raf/replay.h"
#include "tests/support/replay_builder.h"
#include "tools/generator/synth.h"

namespace skidlog {
namespace {

using test::floatBits;
using test::ReplayBuilder;

struct Loaded {
  Replay replay;
  LoadOutcome outcome;
};

Loaded load(const ReplayBuilder& b) {
  Loaded l;
  l.outcome = loadReplay(b.bytes(), std::uint64_t{1} << 32, l.replay);
  return l;
}

TEST(LoadSamples, DecodesCarFields) {
  ReplayBuilder b(2);
  b.put<std::int32_t>(ReplayBuilder::block(1) + 32, 65536)
      .put<std::int32_t>(ReplayBuilder::block(1) + 36, -98304)
      .put<std::int32_t>(ReplayBuilder::block(1) + 40, 1)
      .axes(1, {32767, 0, -32768}, {0, 32767, 0})
      .put<float>(ReplayBuilder::block(1) + 8, 1.0f)
      .put<float>(ReplayBuilder::block(0) + 8, 3.14159274f)  // the float nearest pi
      .put<std::uint8_t>(ReplayBuilder::block(0) + 20, 0)
      .put<std::uint8_t>(ReplayBuilder::block(1) + 20, 255);
  const Loaded l = load(b);
  const CarTrack& car = l.replay.car;
  EXPECT_EQ(car.position[1].x, 1.0f);
  EXPECT_EQ(car.position[1].y, -1.5f);
  EXPECT_EQ(car.position[1].z, 0.0000152587890625f);
  EXPECT_EQ(floatBits(car.axisX[1].z), 0xBF800100u);  // -32768 is not clamped
  EXPECT_EQ(floatBits(car.steerDeg[1]), 0x42652EBEu);
  EXPECT_EQ(floatBits(car.steerDeg[0]), 0x4333FFE5u);  // 179.99959, not 180
  EXPECT_EQ(car.gear[0], -1.0f);
  EXPECT_EQ(car.gear[1], 254.0f);
}

TEST(LoadSamples, DerivesCarZAxis) {
  ReplayBuilder b(2);
  b.axes(1, {0, 32767, 0}, {32767, 0, 0});
  const Loaded l = load(b);
  EXPECT_EQ(l.replay.car.axisZ[0].z, 1.0f);
  EXPECT_EQ(l.replay.car.axisZ[1].z, -1.0f);
}

TEST(LoadSamples, PositionKeepsOnlyFloatPrecision) {
  ReplayBuilder b(1);
  b.put<std::int32_t>(ReplayBuilder::block(0) + 32, 2147483647);
  EXPECT_EQ(load(b).replay.car.position[0].x, 32768.0f);
}

TEST(LoadSamples, TimesAreComputedAfreshFromTheIndex) {
  const Loaded l = load(ReplayBuilder(1001));
  const Series<float>& t = l.replay.sampleTimes;
  EXPECT_EQ(floatBits(t[0]), 0u);
  EXPECT_EQ(floatBits(t[5]), 0x3D4CCCCCu);
  EXPECT_EQ(t[100], 1.0f);
  EXPECT_EQ(t[1000], 10.0f);
  EXPECT_EQ(floatBits(sampleTime(1000001, 0.01f)), floatBits(10000.01f));
  EXPECT_EQ(sampleTime(7, 0.1f), 0.7f);
}

TEST(LoadSamples, WheelFieldsAsStoredInRoleOrder) {
  ReplayBuilder b(1);
  // Stored rear axle first: file wheel 2 is the front left wheel.
  b.geometry(0, -0.7f, -1.3f, 0.1f, 0.3f).geometry(1, 0.7f, -1.3f, 0.1f, 0.3f);
  b.geometry(2, -0.7f, 1.0f, 0.1f, 0.3f).geometry(3, 0.7f, 1.0f, 0.1f, 0.3f);
  for (int w = 0; w < 4; ++w) b.wheelFields(0, w, {0.01f * static_cast<float>(w), 0, 0, 0, 0, 0, 0});
  b.put<std::uint32_t>(ReplayBuilder::wheel(0, 0) + 24, 0x7FC00001u);  // a NaN payload
  const Loaded l = load(b);
  EXPECT_EQ(l.replay.wheels[frontLeft].suspensionDeflection[0], 0.02f);
  EXPECT_EQ(l.replay.wheels[rearLeft].suspensionDeflection[0], 0.0f);
  EXPECT_EQ(floatBits(l.replay.wheels[rearLeft].lean[0]), 0x7FC00001u);
}

TEST(LoadSamples, ZeroBlockSizeRepeatsOneBlockAndZeroWheelSizeSharesOneSubBlock) {
  ReplayBuilder b(3);
  b.put<std::uint16_t>(14, 0).put<std::uint16_t>(16, 0).put<float>(ReplayBuilder::block(0) + 24, 12.5f);
  b.wheelFields(0, 0, {0.03f, 0.1f, 1, 2, 3, 4, 5});
  const Loaded l = load(b);
  ASSERT_EQ(l.replay.sampleCount(), 3u);
  EXPECT_EQ(l.replay.car.speed[2], 12.5f);
  EXPECT_EQ(l.replay.sampleTimes[2], 0.02f);
  for (const WheelTrack& w : l.replay.wheels) EXPECT_EQ(w.forceZ[2], 3.0f);
}

TEST(LoadSamples, NonPositiveCountLoadsNothing) {
  for (std::int32_t count : {0, -1, -2147483647 - 1}) {
    ReplayBuilder b(2);
    b.put<std::int32_t>(20, count);
    const Loaded l = load(b);
    EXPECT_EQ(l.outcome.status, LoadStatus::loaded);
    EXPECT_EQ(l.replay.sampleCount(), 0u);
    EXPECT_EQ(l.replay.car.position.capacity(), 0u);
  }
}

TEST(LoadSamples, EveryTruncatedLengthKeepsTheCompleteBlocks) {
  const ReplayBuilder full = test::drivingReplay(4);
  const Loaded reference = load(full);
  for (std::size_t size = 0; size <= full.bytes().size(); ++size) {
    ReplayBuilder b = full;
    b.truncate(size);
    const Loaded l = load(b);
    if (size < 916) {
      EXPECT_EQ(l.outcome.status, LoadStatus::notAReplay) << size;
      continue;
    }
    // Block i is complete when its last wheel's seventh float lies in the file.
    const std::size_t complete = size < 1024 + 188 ? 0 : std::min<std::size_t>(4, (size - 1024 - 188) / 192 + 1);
    ASSERT_EQ(l.replay.sampleCount(), complete) << size;
    EXPECT_EQ(l.outcome.held, complete);
    EXPECT_EQ(l.outcome.declared, 4u);
    for (std::size_t i = 0; i < complete; ++i) {
      EXPECT_EQ(l.replay.wheels[3].lean[i], reference.replay.wheels[3].lean[i]);
      EXPECT_EQ(l.replay.car.speed[i], reference.replay.car.speed[i]);
    }
    for (const WheelTrack& w : l.replay.wheels) EXPECT_EQ(w.lean.size(), complete);
  }
}

TEST(LoadSamples, CountIsLimitedByOddLayouts) {
  ReplayHeader h;
  h.firstBlockOffset = 65535;
  h.blockSize = 65535;
  h.wheelBlockSize = 65535;
  h.wheelBlockOffset = 65535;
  h.blockCount = 2147483647;
  const std::uint64_t extent = 65535 + 3 * 65535 + 28;
  EXPECT_EQ(heldSampleCount(h, 65535 + extent - 1), 0u);
  EXPECT_EQ(heldSampleCount(h, 65535 + extent), 1u);
  EXPECT_EQ(heldSampleCount(h, std::uint64_t{1} << 40), (((std::uint64_t{1} << 40) - 65535 - extent) / 65535) + 1);
  h.blockSize = 0;
  EXPECT_EQ(heldSampleCount(h, 65535 + extent), 2147483647u);
  h.wheelBlockOffset = 0;
  h.wheelBlockSize = 0;
  EXPECT_EQ(heldSampleCount(h, 65535 + 63), 0u);  // the car fields reach to byte 63
}

TEST(LoadSamples, TooManySamplesForMemoryIsRefusedBeforeReserving) {
  ReplayBuilder b(2);
  b.put<std::uint16_t>(14, 0).put<std::int32_t>(20, 2147483647);
  Replay r;
  const LoadOutcome o = loadReplay(b.bytes(), std::uint64_t{24} << 30, r);
  EXPECT_EQ(o.status, LoadStatus::notEnoughMemory);
  EXPECT_EQ(o.held, 2147483647u);
  EXPECT_EQ(r.sampleTimes.capacity(), 0u);
}

}  // namespace
}  // namespace skidlog

namespace skidlog {
namespace {

// The wheels decoded at once, each on its own thread, give the series the
// one-pass reading gives, to the bit, for a whole lap and for one cut short.
TEST(LoadSamples, WheelsDecodedAtOnceMatchOnePass) {
  generator::LapOptions lap;
  lap.seconds = 4.0;
  std::vector<std::byte> bytes = generator::generateLap(generator::exampleCar(), lap);
  const EachWheel threads = [](const std::function<void(std::size_t)>& job) {
    std::vector<std::thread> running;
    for (std::size_t w = 0; w < raf::wheelCount; ++w) running.emplace_back(job, w);
    for (std::thread& t : running) t.join();
  };
  for (std::size_t cut : {std::size_t{0}, std::size_t{100}}) {
    const std::span<const std::byte> file(bytes.data(), bytes.size() - cut);
    std::string csv[2];
    for (int parallel = 0; parallel < 2; ++parallel) {
      Replay replay;
      ASSERT_EQ(loadReplay(file, std::uint64_t{1} << 32, replay, parallel ? threads : EachWheel()).status,
                LoadStatus::loaded);
      deriveWheelSeries(replay);
      StringSink sink;
      ASSERT_TRUE(writeCsv(sink, true, replay.sampleCount(), replay.sampleTimes, replay.car, replay.wheels,
                           replay.geometry));
      csv[parallel] = sink.text;
    }
    EXPECT_GT(csv[0].size(), 10000u);
    EXPECT_EQ(csv[0], csv[1]) << "cut " << cut;
  }
}

}  // namespace
}  // namespace skidlog
