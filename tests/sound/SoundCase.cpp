#include "tests/sound/SoundCase.h"

#include <SDL_mixer.h>
#include <stdlib.h>

#include <cmath>
#include <filesystem>
#include <vector>

#include "sound/SoundPlayer.h"
#include "tests/sound/ToneMeter.h"

namespace {

// Output frames from a mark to the first frame surely mixed after it: the buffer being mixed,
// the file's write buffer, and plenty of room (0.25 s).
constexpr std::int64_t kSettleFrames = DiskOutput::kRateHz / 4;
// One measuring window: 0.2 s, a whole number of cycles of every test tone.
constexpr std::int64_t kWindowFrames = DiskOutput::kRateHz / 5;
// Pause per driver buffer of 1024 frames, ms: the output runs several times faster than real
// time, yet slow enough that the test thread being held up a few milliseconds on a busy machine
// moves its marks by only a little sound.
constexpr int kDriverDelayMs = 4;
// A tone counts as present above half its amplitude (loop seams and encoding lose a little) and
// absent below a thirtieth of it.
constexpr double kPresentAmplitude = ToneFiles::kAmplitude / 2;
constexpr double kAbsentAmplitude = ToneFiles::kAmplitude / 30;
constexpr double kSilentRms = 0.001;

}  // namespace

void SoundCase::SetUp() {
  static int casesInThisProcess = 0;
  if (++casesInThisProcess > 1) {
    GTEST_SKIP() << "the audio output opens once per process: run each case on its own "
                    "(ctest does, or use --gtest_filter)";
  }
  tones_ = std::make_unique<ToneFiles>(dir_.path());
  output_ = std::make_unique<DiskOutput>(dir_.file("output.raw"));
}

void SoundCase::openDiskOutput() {
  routeOutputToDisk();
  SoundPlayer::instance()->initialiseAudio();
  expectDiskOutputOpen();
}

void SoundCase::routeOutputToDisk() { DiskOutput::routeTo(dir_.file("output.raw"), kDriverDelayMs); }

void SoundCase::expectDiskOutputOpen() {
  int rateHz = 0, channels = 0;
  Uint16 format = 0;
  ASSERT_NE(Mix_QuerySpec(&rateHz, &format, &channels), 0) << "the output did not open";
  ASSERT_EQ(rateHz, DiskOutput::kRateHz);
  ASSERT_EQ(format, AUDIO_S16LSB);
  ASSERT_EQ(channels, 2);
}

Span SoundCase::after(std::int64_t mark, double seconds) {
  const Span span{mark + kSettleFrames,
                  mark + kSettleFrames + std::llround(seconds * DiskOutput::kRateHz)};
  EXPECT_TRUE(output_->waitFor(span.to)) << "the disk driver stopped writing";
  return span;
}

::testing::AssertionResult SoundCase::tonesIn(Span span, std::initializer_list<double> present,
                                              std::initializer_list<double> absent) const {
  if (span.to - span.from < kWindowFrames) return ::testing::AssertionFailure() << "span too short";
  for (std::int64_t at = span.from; at + kWindowFrames <= span.to; at += kWindowFrames) {
    const std::vector<float> window = output_->read(at, kWindowFrames);
    const double second = double(at) / DiskOutput::kRateHz;
    for (double hz : present) {
      const double amplitude = toneAmplitude(window.data(), window.size(), hz, DiskOutput::kRateHz);
      if (amplitude < kPresentAmplitude) {
        return ::testing::AssertionFailure()
               << hz << " Hz is missing at " << second << " s (amplitude " << amplitude << ")";
      }
    }
    for (double hz : absent) {
      const double amplitude = toneAmplitude(window.data(), window.size(), hz, DiskOutput::kRateHz);
      if (amplitude > kAbsentAmplitude) {
        return ::testing::AssertionFailure()
               << hz << " Hz is sounding at " << second << " s (amplitude " << amplitude << ")";
      }
    }
  }
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult SoundCase::silentIn(Span span) const {
  if (span.to - span.from < kWindowFrames) return ::testing::AssertionFailure() << "span too short";
  for (std::int64_t at = span.from; at + kWindowFrames <= span.to; at += kWindowFrames) {
    const std::vector<float> window = output_->read(at, kWindowFrames);
    const double rms = rootMeanSquare(window.data(), window.size());
    if (rms > kSilentRms) {
      return ::testing::AssertionFailure() << "sound (rms " << rms << ") at "
                                           << double(at) / DiskOutput::kRateHz << " s";
    }
  }
  return ::testing::AssertionSuccess();
}
