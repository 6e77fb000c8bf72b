#include "tools/synth/FireSynth.h"

#include <algorithm>
#include <cmath>

#include "tools/synth/Noise.h"
#include "tools/synth/WavFile.h"

namespace synth {

namespace {

constexpr double kPi = 3.141592653589793;
constexpr float kPeak = 0.8f;
constexpr float kRumbleGain = 0.9f;
constexpr float kHissGain = 0.08f;

// One-pole low-pass coefficient for a cutoff in Hz.
float lowPass(double cutoff) { return static_cast<float>(1 - std::exp(-2 * kPi * cutoff / kSampleRate)); }

// The roar of the flames: low-passed noise whose loudness wanders slowly.
void addRumble(std::vector<float>& out, Noise& noise) {
  const float a = lowPass(350), slow = lowPass(1.5);
  float low = 0, low2 = 0, level = 0.5f;
  for (float& s : out) {
    low += a * (noise.next() - low);
    low2 += a * (low - low2);
    level += slow * (noise.unit() - level);
    s += kRumbleGain * low2 * (0.4f + level) * 3.0f;
  }
}

// The hiss of burning wood: high-passed noise, fluttering.
void addHiss(std::vector<float>& out, Noise& noise) {
  const float a = lowPass(2500), flutter = lowPass(6);
  float low = 0, level = 0.5f;
  for (float& s : out) {
    const float white = noise.next();
    low += a * (white - low);
    level += flutter * (noise.unit() - level);
    s += kHissGain * (white - low) * (0.3f + level);
  }
}

// Sharp crackles: very short bursts of bright noise, mostly quiet, some loud, often in clusters.
void addCrackles(std::vector<float>& out, Noise& noise, double perSecond) {
  const double chance = perSecond / kSampleRate;
  for (size_t i = 0; i < out.size(); ++i) {
    if (noise.unit() >= chance) continue;
    const int bursts = noise.unit() < 0.3f ? 3 : 1;
    for (int b = 0; b < bursts; ++b) {
      const size_t start = i + static_cast<size_t>(b * noise.unit() * 0.03 * kSampleRate);
      const float loud = std::pow(noise.unit(), 2.5f) * 0.9f + 0.05f;
      const double decay = (0.0004 + 0.0025 * noise.unit()) * kSampleRate;
      const float bright = 0.3f + 0.7f * noise.unit();
      float previous = 0;
      for (size_t k = 0; k < static_cast<size_t>(decay * 6) && start + k < out.size(); ++k) {
        const float white = noise.next();
        const float shaped = bright * white + (1 - bright) * previous;
        previous = white;
        out[start + k] += loud * shaped * static_cast<float>(std::exp(-static_cast<double>(k) / decay));
      }
    }
  }
}

// Deeper pops of bursting sap: damped low tones.
void addPops(std::vector<float>& out, Noise& noise, double perSecond) {
  const double chance = perSecond / kSampleRate;
  for (size_t i = 0; i < out.size(); ++i) {
    if (noise.unit() >= chance) continue;
    const double f = 140 + 260 * noise.unit();
    const double decay = (0.006 + 0.012 * noise.unit()) * kSampleRate;
    const float loud = 0.25f + 0.35f * noise.unit();
    for (size_t k = 0; k < static_cast<size_t>(decay * 6) && i + k < out.size(); ++k)
      out[i + k] += loud * static_cast<float>(std::sin(2 * kPi * f * k / kSampleRate) * std::exp(-static_cast<double>(k) / decay));
  }
}

}  // namespace

std::vector<float> renderFire(const FireRecipe& recipe) {
  const size_t length = static_cast<size_t>(recipe.seconds * kSampleRate);
  const size_t fade = std::min(length, static_cast<size_t>(recipe.crossfadeSeconds * kSampleRate));
  if (length == 0) return {};
  // Render the loop plus the overlap, then fold the overlap into the start.
  std::vector<float> raw(length + fade, 0.0f);
  Noise noise(recipe.seed);
  addRumble(raw, noise);
  addHiss(raw, noise);
  addCrackles(raw, noise, recipe.cracklesPerSecond);
  addPops(raw, noise, recipe.popsPerSecond);
  std::vector<float> loop(raw.begin(), raw.begin() + static_cast<long>(length));
  // Equal-power crossfade: sample 0 continues exactly from raw[length], which follows raw[length - 1].
  for (size_t i = 0; i < fade; ++i) {
    const double t = static_cast<double>(i) / fade;
    loop[i] = static_cast<float>(raw[i] * std::sin(0.5 * kPi * t) + raw[length + i] * std::cos(0.5 * kPi * t));
  }
  float peak = 0;
  for (float s : loop) peak = std::max(peak, std::fabs(s));
  if (peak > 0)
    for (float& s : loop) s *= kPeak / peak;
  return loop;
}

}  // namespace synth
