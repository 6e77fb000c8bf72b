#pragma once
// A fixed-seed noise source (xorshift32), so every build synthesises the same audio.
#include <cstdint>

namespace synth {

class Noise {
 public:
  explicit Noise(std::uint32_t seed) : state_(seed ? seed : 0x9E3779B9u) {}
  // Uniform in -1..1.
  float next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return static_cast<float>(state_ >> 8) / static_cast<float>(1u << 23) - 1.0f;
  }
  // Uniform in 0..1.
  float unit() { return 0.5f * (next() + 1.0f); }

 private:
  std::uint32_t state_;
};

}  // namespace synth
