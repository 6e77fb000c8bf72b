#pragma once
// 16-bit PCM mono WAV files: written by the synthesiser, read back by its tests.
#include <string>
#include <vector>

namespace synth {

constexpr int kSampleRate = 44100;  // samples per second

// Writes samples (clamped to -1..1) as 16-bit mono PCM. Empty string on success, else the error.
std::string writeWav(const std::string& path, const std::vector<float>& samples);

// Reads a 16-bit mono PCM WAV written by writeWav into samples in -1..1 and its sample rate.
// Empty string on success, else what is wrong with the file.
std::string readWav(const std::string& path, std::vector<float>& samples, int& sampleRate);

}  // namespace synth
