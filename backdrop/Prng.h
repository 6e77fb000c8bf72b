#pragma once
// A small fixed-seed random generator (SplitMix64) and a position hash, so every picture the art
// generator draws is the same on every run.
#include <cstdint>

namespace art {

class Prng {
 public:
  explicit Prng(std::uint64_t seed) : state_(seed) {}

  // The next raw 64-bit value.
  std::uint64_t next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // Uniform in [0, 1).
  float uniform() { return static_cast<float>(next() >> 40) / static_cast<float>(1ull << 24); }
  // Uniform in [lo, hi).
  float range(float lo, float hi) { return lo + (hi - lo) * uniform(); }

 private:
  std::uint64_t state_;
};

// A value in [0, 1) that depends only on the two integers and the salt: per-brick and per-pixel
// variation without keeping any state.
inline float hash01(int a, int b, std::uint32_t salt = 0) {
  std::uint32_t h = static_cast<std::uint32_t>(a) * 0x8DA6B343u ^
                    static_cast<std::uint32_t>(b) * 0xD8163841u ^ salt * 0xCB1AB31Fu;
  h ^= h >> 15;
  h *= 0x2C1B3C6Du;
  h ^= h >> 12;
  h *= 0x297A2D39u;
  h ^= h >> 15;
  return static_cast<float>(h >> 8) / static_cast<float>(1u << 24);
}

}  // namespace art
