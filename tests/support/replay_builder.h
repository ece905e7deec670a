// Builds replay files byte by byte for tests: a header laid out like the
// simulator's (first block at 1024, 192-byte blocks, 32-byte wheel sub-blocks
// at 64), with setters for every field the tool reads.
#ifndef SKIDLOG_TESTS_SUPPORT_REPLAY_BUILDER_H_
#define SKIDLOG_TESTS_SUPPORT_REPLAY_BUILDER_H_

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <array>
#include <span>
#include <string>
#include <vector>

#include "skidlog/skidlog.h"

namespace skidlog::test {

inline std::uint32_t floatBits(float f) { return std::bit_cast<std::uint32_t>(f); }
inline float fromBits(std::uint32_t bits) { return std::bit_cast<float>(bits); }
inline std::uint64_t doubleBits(double d) { return std::bit_cast<std::uint64_t>(d); }

class ReplayBuilder {
 public:
  static constexpr std::size_t headerSize = 1024;
  static constexpr std::size_t blockSize = 192;

  // A replay, by its signature, of a level car standing at the origin with
  // four wheels in the usual order and `samples` blocks, each with the car's
  // axes set to the world axes.
  explicit ReplayBuilder(int samples) : bytes_(headerSize + blockSize * static_cast<std::size_t>(samples)) {
    for (std::size_t i = 0; i < replaySignature.size(); ++i) put<char>(i, replaySignature[i]);
    put<std::uint16_t>(12, headerSize);
    put<std::uint16_t>(14, blockSize);
    put<std::uint16_t>(16, 32);
    put<std::uint16_t>(18, 64);
    put<std::int32_t>(20, samples);
    put<float>(188, 1200.0f);
    put<float>(192, 1140.0f);
    const float x[4] = {-0.75f, 0.75f, -0.74f, 0.74f};
    const float y[4] = {1.05f, 1.05f, -1.35f, -1.35f};
    for (int w = 0; w < 4; ++w) geometry(w, x[w], y[w], 0.15f, 0.3f);
    for (int i = 0; i < samples; ++i) {
      axes(i, {32767, 0, 0}, {0, 32767, 0});
      put<std::uint8_t>(block(i) + 20, 2);
    }
  }

  template <class T>
  ReplayBuilder& put(std::size_t offset, T value) {
    if (offset + sizeof(T) > bytes_.size()) bytes_.resize(offset + sizeof(T));
    auto bits = std::bit_cast<std::array<std::byte, sizeof(T)>>(value);  // the host is little-endian
    std::memcpy(bytes_.data() + offset, bits.data(), sizeof(T));
    return *this;
  }

  ReplayBuilder& geometry(int w, float x, float y, float z, float radius) {
    const std::size_t record = 512 + 128 * static_cast<std::size_t>(w);
    return put(record, x).put(record + 4, y).put(record + 8, z).put(record + 12, radius);
  }

  static std::size_t block(int i) { return headerSize + blockSize * static_cast<std::size_t>(i); }
  static std::size_t wheel(int i, int w) { return block(i) + 64 + 32 * static_cast<std::size_t>(w); }

  // Car position in metres, stored as 16.16 fixed point.
  ReplayBuilder& position(int i, double x, double y, double z) {
    return put(block(i) + 32, static_cast<std::int32_t>(x * 65536.0))
        .put(block(i) + 36, static_cast<std::int32_t>(y * 65536.0))
        .put(block(i) + 40, static_cast<std::int32_t>(z * 65536.0));
  }

  ReplayBuilder& axes(int i, std::array<std::int16_t, 3> ax, std::array<std::int16_t, 3> ay) {
    for (std::size_t k = 0; k < 3; ++k) {
      put(block(i) + 52 + 2 * k, ax[k]);
      put(block(i) + 58 + 2 * k, ay[k]);
    }
    return *this;
  }

  // The seven wheel floats: deflection, steer, force x, y, z, angular velocity, lean.
  ReplayBuilder& wheelFields(int i, int w, std::array<float, 7> values) {
    for (std::size_t k = 0; k < 7; ++k) put(wheel(i, w) + 4 * k, values[k]);
    return *this;
  }

  ReplayBuilder& truncate(std::size_t size) {
    bytes_.resize(size);
    return *this;
  }

  std::span<const std::byte> bytes() const { return bytes_; }
  std::string text() const { return std::string(reinterpret_cast<const char*>(bytes_.data()), bytes_.size()); }

 private:
  std::vector<std::byte> bytes_;
};

// The fields of one CSV line, split at ", ".
inline std::vector<std::string> fields(const std::string& line) {
  std::vector<std::string> out;
  std::size_t start = 0;
  for (std::size_t at; (at = line.find(", ", start)) != std::string::npos; start = at + 2) {
    out.push_back(line.substr(start, at - start));
  }
  out.push_back(line.substr(start));
  return out;
}

// A car driving straight along world +y at `speed` m/s, every wheel loaded and
// rolling: a replay whose every sample passes both row filters.
inline ReplayBuilder drivingReplay(int samples, double speed = 20.0) {
  ReplayBuilder b(samples);
  for (int i = 0; i < samples; ++i) {
    b.position(i, 10.0, 5.0 + speed * 0.01 * i, 2.0);
    b.put<float>(ReplayBuilder::block(i) + 0, 0.75f).put<float>(ReplayBuilder::block(i) + 24, static_cast<float>(speed));
    for (int w = 0; w < 4; ++w) {
      b.wheelFields(i, w, {0.05f, w < 2 ? 0.02f : 0.0f, 150.0f * static_cast<float>(w - 1), 400.0f, 2800.0f + 10.0f * static_cast<float>(i),
                           static_cast<float>(speed / 0.3 * 1.02), w % 2 ? -0.01f : 0.01f});
    }
  }
  return b;
}

}  // namespace skidlog::test

#endif  // SKIDLOG_TESTS_SUPPORT_REPLAY_BUILDER_H_
