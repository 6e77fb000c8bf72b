#include "tools/synth/Instruments.h"

#include <algorithm>
#include <cmath>

namespace synth {

namespace {

constexpr double kTwoPi = 6.283185307179586;

// Attack-decay-sustain-release envelope: linear attack, exponential decay to the sustain level,
// then an exponential fade after the note ends.
double envelope(double t, double length, double attack, double decay, double sustain, double release) {
  if (t < 0) return 0;
  const double held = [&] {
    if (t < attack) return t / attack;
    return sustain + (1 - sustain) * std::exp(-(t - attack) / decay);
  }();
  if (t < length) return held;
  const double atEnd = length < attack ? length / attack
                                       : sustain + (1 - sustain) * std::exp(-(length - attack) / decay);
  const double fade = std::exp(-(t - length) / (release * 0.25));
  // The last fifth of the release ramps to silence, so the tail ends at exactly zero.
  const double ramp = std::clamp((release - (t - length)) / (release * 0.2), 0.0, 1.0);
  return atEnd * fade * ramp;
}

// A soft electric-piano bell: two-operator FM whose brightness fades as the note rings.
float bell(double f, double t, double length) {
  const double index = 0.4 + 2.2 * std::exp(-t / 0.35);
  const double vibrato = 1 + 0.003 * std::sin(kTwoPi * 5.2 * t) * std::min(1.0, t / 0.4);
  const double modulator = std::sin(kTwoPi * f * 2 * t) * index;
  const double tone = std::sin(kTwoPi * f * vibrato * t + modulator) + 0.15 * std::sin(kTwoPi * f * 4 * t);
  return static_cast<float>(tone * envelope(t, length, 0.006, 0.5, 0.45, releaseSeconds(Instrument::Bell)));
}

// A round bass: sine with a touch of FM growl at the start of each note.
float bass(double f, double t, double length) {
  const double index = 0.3 + 1.4 * std::exp(-t / 0.12);
  const double tone = std::sin(kTwoPi * f * t + index * std::sin(kTwoPi * f * t)) +
                      0.3 * std::sin(kTwoPi * f * 0.5 * t);
  return static_cast<float>(tone * envelope(t, length, 0.008, 0.3, 0.6, releaseSeconds(Instrument::Bass)));
}

// A warm pad: a few detuned harmonics with a slow swell.
float pad(double f, double t, double length) {
  double tone = 0;
  for (int n = 1; n <= 4; ++n) {
    const double weight = 1.0 / (n * n);
    tone += weight * (std::sin(kTwoPi * f * n * 1.0015 * t) + std::sin(kTwoPi * f * n * 0.9985 * t + n));
  }
  return static_cast<float>(0.5 * tone * envelope(t, length, 0.35, 1.0, 0.8, releaseSeconds(Instrument::Pad)));
}

float kick(double t) {
  const double phase = kTwoPi * (45 * t + (110.0 - 45.0) * 0.035 * (1 - std::exp(-t / 0.035)));
  return static_cast<float>(std::sin(phase) * std::exp(-t / 0.16) * std::min(1.0, t / 0.002));
}

float snare(double t, float noise) {
  const double body = std::sin(kTwoPi * 185 * t) * std::exp(-t / 0.05);
  return static_cast<float>(0.5 * body + 0.6 * noise * std::exp(-t / 0.09));
}

float hat(double t, float noise) { return static_cast<float>(noise * std::exp(-t / 0.03)); }

}  // namespace

double releaseSeconds(Instrument instrument) {
  switch (instrument) {
    case Instrument::Bell: return 0.6;
    case Instrument::Bass: return 0.12;
    case Instrument::Pad: return 1.0;
    case Instrument::Kick: return 0.5;
    case Instrument::Snare: return 0.35;
    case Instrument::Hat: return 0.15;
  }
  return 0;
}

float instrumentSample(Instrument instrument, double f, double t, double length, float noise) {
  switch (instrument) {
    case Instrument::Bell: return bell(f, t, length);
    case Instrument::Bass: return bass(f, t, length);
    case Instrument::Pad: return pad(f, t, length);
    case Instrument::Kick: return kick(t);
    case Instrument::Snare: return snare(t, noise);
    case Instrument::Hat: return hat(t, noise);
  }
  return 0;
}

}  // namespace synth
