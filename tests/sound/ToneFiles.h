#pragma once
// Sound files for the sound tests, made on the spot: sine tones written as WAV and encoded to MP3
// by the lame encoder, plus the damaged files a player must refuse.
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

// One stretch of a tone file.
struct ToneSegment {
  double hz;       // frequency of the sine
  double seconds;  // how long it lasts
};

class ToneFiles {
 public:
  // Files go in dir, which must exist.
  explicit ToneFiles(std::string dir) : dir_(std::move(dir)) {}

  // Encodes the segments, one after another, as a mono 44100 Hz MP3 named name; extra arguments
  // go to lame. Returns the path, or "" if encoding failed.
  std::string mp3(const std::string& name, const std::vector<ToneSegment>& segments,
                  const std::string& lameArguments = "") const;
  // A copy of the first bytes of source, as a file cut off in the middle; "" if source is not
  // longer than that.
  std::string truncated(const std::string& name, const std::string& source,
                        std::size_t bytes) const;
  // A file of bytes from a fixed-seed generator.
  std::string randomBytes(const std::string& name, std::size_t bytes) const;
  // A file with the given text.
  std::string text(const std::string& name, const std::string& content) const;
  // Where a file named name would go; nothing is written.
  std::string path(const std::string& name) const { return dir_ + "/" + name; }

  static constexpr double kAmplitude = 0.3;  // of each tone, full scale 1
  static constexpr int kSampleRateHz = 44100;

 private:
  std::string dir_;
};
