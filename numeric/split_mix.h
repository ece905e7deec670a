// SplitMix64: a small pseudo-random sequence that this code defines on every
// platform, so that the same seed gives the same numbers everywhere (the
// standard library's distributions differ between implementations).
#ifndef SKIDLOG_NUMERIC_SPLIT_MIX_H_
#define SKIDLOG_NUMERIC_SPLIT_MIX_H_

#include <cstdint>

namespace skidlog {

class SplitMix64 {
 public:
  // The seed is mixed first: seeds that differ little start far apart in the
  // sequence, so their streams do not repeat each other.
  explicit SplitMix64(std::uint64_t seed) : state_(mix(seed)) {}

  std::uint64_t next() { return mix(state_ += 0x9E3779B97F4A7C15ull); }

  // Uniform in [0, 1), from the top 53 bits.
  double uniform() { return static_cast<double>(next() >> 11) * 0x1p-53; }

  // An integer in [0, n) from the top 32 bits; n < 2^32.
  std::uint32_t below(std::uint32_t n) { return static_cast<std::uint32_t>(((next() >> 32) * n) >> 32); }

 private:
  static std::uint64_t mix(std::uint64_t z) {
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  std::uint64_t state_;
};

}  // namespace skidlog

#endif  // SKIDLOG_NUMERIC_SPLIT_MIX_H_
