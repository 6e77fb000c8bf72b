#include "tools/synth/WavFile.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>

namespace synth {

namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

void put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
  out.push_back(v & 0xFF);
  out.push_back((v >> 8) & 0xFF);
}
void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  put16(out, v & 0xFFFF);
  put16(out, v >> 16);
}
std::uint32_t get16(const std::uint8_t* p) { return p[0] | (p[1] << 8); }
std::uint32_t get32(const std::uint8_t* p) { return get16(p) | (get16(p + 2) << 16); }

}  // namespace

std::string writeWav(const std::string& path, const std::vector<float>& samples) {
  const std::uint32_t dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
  std::vector<std::uint8_t> bytes;
  bytes.reserve(44 + dataBytes);
  for (char c : std::string("RIFF")) bytes.push_back(c);
  put32(bytes, 36 + dataBytes);
  for (char c : std::string("WAVEfmt ")) bytes.push_back(c);
  put32(bytes, 16);
  put16(bytes, 1);  // PCM
  put16(bytes, 1);  // mono
  put32(bytes, kSampleRate);
  put32(bytes, kSampleRate * 2);
  put16(bytes, 2);
  put16(bytes, 16);
  for (char c : std::string("data")) bytes.push_back(c);
  put32(bytes, dataBytes);
  for (float s : samples) {
    const long v = std::lround(std::clamp(s, -1.0f, 1.0f) * 32767.0f);
    put16(bytes, static_cast<std::uint32_t>(static_cast<std::uint16_t>(static_cast<std::int16_t>(v))));
  }
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
  if (!file) return "cannot open " + path + " for writing";
  if (std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size())
    return "cannot write " + path;
  return "";
}

std::string readWav(const std::string& path, std::vector<float>& samples, int& sampleRate) {
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file) return "cannot open " + path;
  std::vector<std::uint8_t> bytes;
  std::uint8_t buffer[65536];
  size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0)
    bytes.insert(bytes.end(), buffer, buffer + got);
  if (bytes.size() < 44 || std::memcmp(bytes.data(), "RIFF", 4) != 0 ||
      std::memcmp(bytes.data() + 8, "WAVEfmt ", 8) != 0)
    return path + " is not a WAV file";
  if (get16(&bytes[20]) != 1 || get16(&bytes[22]) != 1 || get16(&bytes[34]) != 16)
    return path + " is not 16-bit mono PCM";
  if (std::memcmp(bytes.data() + 36, "data", 4) != 0) return path + " has no data chunk where expected";
  const size_t dataBytes = std::min<size_t>(get32(&bytes[40]), bytes.size() - 44);
  sampleRate = static_cast<int>(get32(&bytes[24]));
  samples.resize(dataBytes / 2);
  for (size_t i = 0; i < samples.size(); ++i)
    samples[i] = static_cast<std::int16_t>(get16(&bytes[44 + 2 * i])) / 32768.0f;
  return "";
}

}  // namespace synth
