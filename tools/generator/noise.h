// Deterministic noise for the generator, the same on every platform for a
// given seed: SplitMix64 for uniform numbers, Box-Muller for Gaussian ones.
#ifndef SKIDLOG_TOOLS_GENERATOR_NOISE_H_
#define SKIDLOG_TOOLS_GENERATOR_NOISE_H_

#include <cmath>
#include <cstdint>

#include "numeric/split_mix.h"

namespace skidlog::generator {

class Noise {
 public:
  explicit Noise(std::uint64_t seed) : sequence_(seed ^ 0x5DEECE66Dull) {}

  // Uniform in [0, 1).
  double uniform() { return sequence_.uniform(); }

  // Gaussian with mean 0 and standard deviation `sigma`.
  double gauss(double sigma) {
    const double u = 1.0 - uniform();
    return sigma * std::sqrt(-2.0 * std::log(u)) * std::cos(6.283185307179586 * uniform());
  }

 private:
  SplitMix64 sequence_;
};

// Noise correlated over time: each step keeps `memory` of the last value,
// scaled so that the stationary standard deviation is `sigma`.
class SmoothNoise {
 public:
  SmoothNoise(std::uint64_t seed, double sigma, double memory)
      : noise_(seed), sigma_(sigma), memory_(memory), fresh_(sigma * std::sqrt(1.0 - memory * memory)) {}

  double next() {
    value_ = memory_ * value_ + noise_.gauss(fresh_);
    return value_;
  }
  double sigma() const { return sigma_; }

 private:
  Noise noise_;
  double sigma_;
  double memory_;
  double fresh_;
  double value_ = 0.0;
};

}  // namespace skidlog::generator

#endif  // SKIDLOG_TOOLS_GENERATOR_NOISE_H_
