#pragma once
// The frame every sound test runs in: a private directory for tone files and for the disk
// driver's output, the audio output opened onto that file, and checks that judge the output by
// the tones it holds. A process opens the audio output once, so each case needs a process of its
// own; ctest runs them that way.
#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>

#include "tests/sound/DiskOutput.h"
#include "tests/sound/ToneFiles.h"
#include "tests/support/TempDir.h"

// The test tones, Hz. Each fits a whole number of cycles into one measuring window.
constexpr double kMusicHz = 440;
constexpr double kOtherMusicHz = 660;
constexpr double kEffectHz = 1000;
constexpr double kLaterEffectHz = 1600;
constexpr double kReplacementHz = 2500;

// A stretch of the output file, frames [from, to).
struct Span {
  std::int64_t from = 0;
  std::int64_t to = 0;
};

class SoundCase : public ::testing::Test {
 protected:
  void SetUp() override;

  // Opens the player's output onto the disk file and checks it is 44100 Hz 16-bit stereo.
  void openDiskOutput();
  // The two halves of that: where the output will go once opened, and the check once it is.
  void routeOutputToDisk();
  void expectDiskOutputOpen();
  // Output frames written so far. Taken after a call returns, it marks where the call's change
  // reaches the file, give or take what the driver still holds.
  std::int64_t now() const { return output_->framesWritten(); }
  // The seconds of output after mark, once they are written, starting late enough that what
  // the driver held at mark has gone by.
  Span after(std::int64_t mark, double seconds);
  // Every window of span holds each of present loudly and none of absent.
  ::testing::AssertionResult tonesIn(Span span, std::initializer_list<double> present,
                                     std::initializer_list<double> absent) const;
  // Every window of span is silent.
  ::testing::AssertionResult silentIn(Span span) const;

  TempDir dir_;
  std::unique_ptr<ToneFiles> tones_;
  std::unique_ptr<DiskOutput> output_;
};
