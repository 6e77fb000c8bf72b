#include "tests/sound/ToneFiles.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>

namespace {

constexpr double kPi = 3.14159265358979323846;

void putLittleEndian(std::ofstream& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.put(static_cast<char>((value >> (8 * i)) & 0xFF));
}

bool writeToneWav(const std::string& path, const std::vector<ToneSegment>& segments) {
  std::vector<std::int16_t> samples;
  for (const ToneSegment& segment : segments) {
    const auto count = static_cast<std::size_t>(segment.seconds * ToneFiles::kSampleRateHz);
    for (std::size_t i = 0; i < count; ++i) {
      const double t = double(i) / ToneFiles::kSampleRateHz;
      samples.push_back(static_cast<std::int16_t>(
          std::lround(ToneFiles::kAmplitude * 32767.0 * std::sin(2 * kPi * segment.hz * t))));
    }
  }
  std::ofstream out(path, std::ios::binary);
  const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
  out.write("RIFF", 4);
  putLittleEndian(out, 36 + dataBytes, 4);
  out.write("WAVEfmt ", 8);
  putLittleEndian(out, 16, 4);  // format chunk size
  putLittleEndian(out, 1, 2);   // PCM
  putLittleEndian(out, 1, 2);   // mono
  putLittleEndian(out, ToneFiles::kSampleRateHz, 4);
  putLittleEndian(out, ToneFiles::kSampleRateHz * 2, 4);  // bytes per second
  putLittleEndian(out, 2, 2);                             // bytes per frame
  putLittleEndian(out, 16, 2);                            // bits per sample
  out.write("data", 4);
  putLittleEndian(out, dataBytes, 4);
  for (std::int16_t s : samples) putLittleEndian(out, static_cast<std::uint16_t>(s), 2);
  return static_cast<bool>(out);
}

}  // namespace

std::string ToneFiles::mp3(const std::string& name, const std::vector<ToneSegment>& segments,
                           const std::string& lameArguments) const {
  const std::string wav = path(name + ".wav");
  const std::string out = path(name);
  if (!writeToneWav(wav, segments)) return "";
  const std::string command = std::string("'") + ZARVOLITH_LAME + "' --quiet " + lameArguments +
                              " '" + wav + "' '" + out + "' >/dev/null 2>&1";
  const bool encoded = std::system(command.c_str()) == 0;
  std::remove(wav.c_str());
  return encoded ? out : "";
}

std::string ToneFiles::truncated(const std::string& name, const std::string& source,
                                 std::size_t bytes) const {
  std::ifstream in(source, std::ios::binary);
  std::vector<char> data(bytes + 1);
  in.read(data.data(), static_cast<std::streamsize>(data.size()));
  if (in.gcount() <= static_cast<std::streamsize>(bytes)) return "";  // nothing would be cut
  std::ofstream out(path(name), std::ios::binary);
  out.write(data.data(), static_cast<std::streamsize>(bytes));
  return path(name);
}

std::string ToneFiles::randomBytes(const std::string& name, std::size_t bytes) const {
  std::mt19937 generator(20240611);
  std::ofstream out(path(name), std::ios::binary);
  for (std::size_t i = 0; i < bytes; ++i) out.put(static_cast<char>(generator() & 0xFF));
  return path(name);
}

std::string ToneFiles::text(const std::string& name, const std::string& content) const {
  std::ofstream out(path(name), std::ios::binary);
  out << content;
  return path(name);
}
