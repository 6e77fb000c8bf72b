#include "sound/Mp3Check.h"

#include <cstring>

namespace {

// Sizes inside an MPEG audio file, bytes.
constexpr std::size_t kFrameHeaderBytes = 4;
constexpr std::size_t kId3v2HeaderBytes = 10;
constexpr std::size_t kId3v2FooterBytes = 10;
constexpr std::size_t kId3v1TagBytes = 128;

// What the checks need from one MPEG layer III frame header.
struct FrameHeader {
  int versionBits = 0;       // 3 MPEG-1, 2 MPEG-2, 0 MPEG-2.5
  int sampleRate = 0;        // Hz
  bool mono = false;
  std::size_t length = 0;    // bytes, header included
};

// Reads a layer III frame header; false for anything else, including free-format frames, whose
// length cannot be known from the header.
bool readFrameHeader(const unsigned char* p, FrameHeader& header) {
  static const int kKbps[2][15] = {
      {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320},  // MPEG-1
      {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160}};     // MPEG-2 and 2.5
  static const int kMpeg1RatesHz[3] = {44100, 48000, 32000};
  if (p[0] != 0xFF || (p[1] & 0xE0) != 0xE0) return false;
  const int versionBits = (p[1] >> 3) & 3;
  const int layerBits = (p[1] >> 1) & 3;
  const int kbpsIndex = p[2] >> 4;
  const int rateIndex = (p[2] >> 2) & 3;
  if (versionBits == 1 || layerBits != 1) return false;
  if (kbpsIndex == 0 || kbpsIndex == 15 || rateIndex == 3) return false;
  const bool mpeg1 = versionBits == 3;
  header.versionBits = versionBits;
  header.sampleRate = kMpeg1RatesHz[rateIndex] / (mpeg1 ? 1 : versionBits == 2 ? 2 : 4);
  header.mono = (p[3] >> 6) == 3;
  const int bytesPerKbps = mpeg1 ? 144000 : 72000;  // per frame, times the sample rate
  header.length = static_cast<std::size_t>(bytesPerKbps * kKbps[mpeg1 ? 0 : 1][kbpsIndex] /
                                           header.sampleRate + ((p[2] >> 1) & 1));
  return true;
}

// The frame count an encoder wrote into a leading Xing/Info frame, or -1 when there is none.
long taggedFrameCount(const unsigned char* frame, const FrameHeader& header) {
  const std::size_t sideInfoBytes =
      header.versionBits == 3 ? (header.mono ? 17 : 32) : (header.mono ? 9 : 17);
  const unsigned char* tag = frame + kFrameHeaderBytes + sideInfoBytes;
  if (kFrameHeaderBytes + sideInfoBytes + 12 > header.length) return -1;
  if (std::memcmp(tag, "Xing", 4) != 0 && std::memcmp(tag, "Info", 4) != 0) return -1;
  if ((tag[7] & 1) == 0) return -1;  // the frame count is optional
  return (long(tag[8]) << 24) | (long(tag[9]) << 16) | (long(tag[10]) << 8) | long(tag[11]);
}

// Bytes an ID3v2 tag takes at the start of the file, or 0 when there is none.
std::size_t id3v2Bytes(const unsigned char* data, std::size_t size) {
  if (size < kId3v2HeaderBytes || std::memcmp(data, "ID3", 3) != 0) return 0;
  const std::size_t body = (std::size_t(data[6] & 0x7F) << 21) |
                           (std::size_t(data[7] & 0x7F) << 14) |
                           (std::size_t(data[8] & 0x7F) << 7) | std::size_t(data[9] & 0x7F);
  const bool footer = (data[5] & 0x10) != 0;
  return kId3v2HeaderBytes + body + (footer ? kId3v2FooterBytes : 0);
}

}  // namespace

bool isWholeMp3(const unsigned char* data, std::size_t size) {
  std::size_t pos = id3v2Bytes(data, size);
  FrameHeader first;
  if (pos + kFrameHeaderBytes > size || !readFrameHeader(&data[pos], first)) return false;
  long expectedAudioFrames = -1;
  long frames = 0;
  while (pos < size) {
    const std::size_t left = size - pos;
    if (left == kId3v1TagBytes && std::memcmp(&data[pos], "TAG", 3) == 0) break;
    FrameHeader header;
    if (left < kFrameHeaderBytes || !readFrameHeader(&data[pos], header)) return false;
    if (header.versionBits != first.versionBits || header.sampleRate != first.sampleRate) {
      return false;
    }
    if (header.length > left) return false;
    if (frames == 0) expectedAudioFrames = taggedFrameCount(&data[pos], header);
    pos += header.length;
    ++frames;
  }
  const long audioFrames = expectedAudioFrames >= 0 ? frames - 1 : frames;
  return audioFrames > 0 && (expectedAudioFrames < 0 || audioFrames == expectedAudioFrames);
}

