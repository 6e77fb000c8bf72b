#pragma once
// Renders a score into a seamless loop: every note's tail that runs past the loop's end is mixed
// into its start, so the end flows into the start exactly as the music continues.
#include <vector>

#include "tools/synth/Score.h"

namespace synth {

// Samples in the loop of the score at the synthesiser's sample rate.
long loopSampleCount(const Score& score);

// The score's loop, mono, peak-normalised, at the synthesiser's sample rate.
std::vector<float> renderMusic(const Score& score);

}  // namespace synth
