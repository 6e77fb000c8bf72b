#pragma once
// A crackling fire: rumbling low noise, a soft hiss and random crackles and pops from a fixed seed,
// crossfaded at the loop point so it repeats without a seam.
#include <cstdint>
#include <vector>

namespace synth {

struct FireRecipe {
  double seconds = 6.0;           // loop length
  double crossfadeSeconds = 0.5;  // overlap blended at the loop point
  double cracklesPerSecond = 14;  // mean rate of small crackles
  double popsPerSecond = 1.2;     // mean rate of deeper pops
  std::uint32_t seed = 0xF17E;
};

// The fire loop, mono, peak-normalised, at the synthesiser's sample rate.
std::vector<float> renderFire(const FireRecipe& recipe);

}  // namespace synth
