#include "tests/sound/DiskOutput.h"

#include <sys/stat.h>

#include <cstdlib>
#include <fstream>
#include <thread>

void DiskOutput::routeTo(const std::string& path, int delayMs) {
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", path.c_str(), 1);
  setenv("SDL_DISKAUDIODELAY", std::to_string(delayMs).c_str(), 1);
}

void DiskOutput::routeNowhere() { setenv("SDL_AUDIODRIVER", "zarvolith-no-such-driver", 1); }

std::int64_t DiskOutput::framesWritten() const {
  struct stat info {};
  if (stat(path_.c_str(), &info) != 0) return 0;
  return static_cast<std::int64_t>(info.st_size) / kBytesPerFrame;
}

bool DiskOutput::waitFor(std::int64_t frames, std::chrono::seconds timeout) const {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (framesWritten() < frames) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

std::vector<float> DiskOutput::read(std::int64_t from, std::int64_t count) const {
  std::ifstream in(path_, std::ios::binary);
  in.seekg(from * kBytesPerFrame);
  std::vector<unsigned char> bytes(static_cast<std::size_t>(count * kBytesPerFrame));
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  const auto frames = static_cast<std::size_t>(in.gcount() / kBytesPerFrame);
  std::vector<float> mono(frames);
  for (std::size_t i = 0; i < frames; ++i) {
    const unsigned char* f = &bytes[i * kBytesPerFrame];
    const auto left = static_cast<std::int16_t>(f[0] | (f[1] << 8));
    const auto right = static_cast<std::int16_t>(f[2] | (f[3] << 8));
    mono[i] = (float(left) + float(right)) / (2.0f * 32768.0f);
  }
  return mono;
}
