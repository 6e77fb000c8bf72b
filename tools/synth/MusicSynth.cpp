#include "tools/synth/MusicSynth.h"

#include <algorithm>
#include <cmath>

#include "tools/synth/Instruments.h"
#include "tools/synth/Noise.h"
#include "tools/synth/WavFile.h"

namespace synth {

namespace {

constexpr double kEchoBeats = 0.75;   // a dotted eighth
constexpr float kEchoFeedback = 0.25f;
constexpr int kEchoPasses = 6;        // passes over the loop until the echo's wrap-around settles
constexpr float kPeak = 0.89f;        // about -1 dBFS
constexpr double kTailFadeSeconds = 0.01;

// Adds one note of one voice into the circular loop buffer.
void addNote(std::vector<float>& loop, const Voice& voice, const NoteEvent& note, double f,
             double secondsPerBeat, Noise& noise) {
  const long n = static_cast<long>(loop.size());
  const long start = std::lround(note.startBeat * secondsPerBeat * kSampleRate);
  const double length = note.beats * secondsPerBeat;
  const double total = length + releaseSeconds(voice.instrument);
  const long count = static_cast<long>(total * kSampleRate);
  const float gain = voice.gain * note.velocity;
  for (long i = 0; i < count; ++i) {
    const double t = static_cast<double>(i) / kSampleRate;
    // A short fade at the very end of the render window, so no note ever stops with a click.
    const double tail = std::min(1.0, (total - t) / kTailFadeSeconds);
    const float s = instrumentSample(voice.instrument, f, t, length, noise.next());
    loop[(start + i) % n] += gain * static_cast<float>(tail) * s;
  }
}

// A feedback echo on the circular loop; repeated passes carry the echo across the loop point.
void addEcho(std::vector<float>& loop, double secondsPerBeat) {
  const long n = static_cast<long>(loop.size());
  const long delay = std::lround(kEchoBeats * secondsPerBeat * kSampleRate);
  if (delay <= 0 || delay >= n) return;
  const std::vector<float> dry = loop;
  for (int pass = 0; pass < kEchoPasses; ++pass)
    for (long i = 0; i < n; ++i) loop[i] = dry[i] + kEchoFeedback * loop[(i - delay + n) % n];
}

}  // namespace

long loopSampleCount(const Score& score) {
  return std::lround(score.beats * 60.0 / score.tempo * kSampleRate);
}

std::vector<float> renderMusic(const Score& score) {
  const long n = loopSampleCount(score);
  if (n <= 0) return {};
  std::vector<float> loop(static_cast<size_t>(n), 0.0f);
  const double secondsPerBeat = 60.0 / score.tempo;
  std::uint32_t seed = 1;
  for (const Voice& voice : score.voices)
    for (const NoteEvent& note : voice.notes) {
      Noise noise(seed++);
      for (double f : note.frequencies) addNote(loop, voice, note, f, secondsPerBeat, noise);
    }
  addEcho(loop, secondsPerBeat);
  float peak = 0;
  for (float s : loop) peak = std::max(peak, std::fabs(s));
  if (peak > 0)
    for (float& s : loop) s *= kPeak / peak;
  return loop;
}

}  // namespace synth
