#pragma once
// What the game's sound sounds like, read back from SDL's disk audio driver: the driver writes
// every mixed buffer to a file (16-bit signed stereo at the rate the output opened with), so a
// test can play sounds and then measure the file.
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

class DiskOutput {
 public:
  // Sends the audio output of this process to the file at path; call before the output opens.
  // delayMs is the driver's pause per buffer: small makes the sound run faster than real time.
  static void routeTo(const std::string& path, int delayMs);
  // Sends the audio output to a driver that does not exist, as on a machine with no device.
  static void routeNowhere();

  explicit DiskOutput(std::string path) : path_(std::move(path)) {}

  // Frames (one sample per channel) the driver has written so far.
  std::int64_t framesWritten() const;
  // Waits until at least frames have been written; false after timeout.
  bool waitFor(std::int64_t frames,
               std::chrono::seconds timeout = std::chrono::seconds(30)) const;
  // Frames [from, from + count) mixed down to mono, full scale 1; short if not yet written.
  std::vector<float> read(std::int64_t from, std::int64_t count) const;

  static constexpr int kRateHz = 44100;
  static constexpr int kBytesPerFrame = 4;  // 16-bit stereo

 private:
  std::string path_;
};
