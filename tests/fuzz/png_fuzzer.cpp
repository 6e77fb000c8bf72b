// Feeds arbitrary bytes to the PNG decoder. It must refuse them or decode them cleanly: no crash,
// leak or undefined behaviour, and a decoded image must describe its own pixels. Small decoded
// images also go through the power-of-two resample the textures use.
#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "render/PngImage.h"
#include "render/PngResample.h"

namespace {

// Larger images are decoded but not resampled, to keep each run quick.
constexpr int kMaxResampledSide = 512;
constexpr std::size_t kSignatureBytes = 8;
constexpr std::size_t kChunkOverhead = 12;  // length, type and CRC

// The input with every chunk's CRC recomputed. Nearly every mutation breaks a CRC, and libpng
// is not instrumented for coverage, so without this the fuzzer would rarely get past the checks
// into the chunk parsers and the transforms.
std::vector<std::uint8_t> withRepairedCrcs(const std::uint8_t* data, std::size_t size) {
  std::vector<std::uint8_t> bytes(data, data + size);
  std::size_t offset = kSignatureBytes;
  while (offset + kChunkOverhead <= bytes.size()) {
    std::size_t length = (std::size_t{bytes[offset]} << 24) | (std::size_t{bytes[offset + 1]} << 16) |
                         (std::size_t{bytes[offset + 2]} << 8) | bytes[offset + 3];
    if (length > bytes.size() - offset - kChunkOverhead) break;
    uLong crc = crc32(0L, bytes.data() + offset + 4, static_cast<uInt>(length + 4));
    std::uint8_t* stored = bytes.data() + offset + 8 + length;
    for (int i = 0; i < 4; ++i) stored[i] = static_cast<std::uint8_t>(crc >> (24 - 8 * i));
    offset += kChunkOverhead + length;
  }
  return bytes;
}

bool describesItsPixels(const PngImage& image) {
  return image.width >= 1 && image.width <= kMaxPngSide && image.height >= 1 &&
         image.height <= kMaxPngSide && (image.channels == 3 || image.channels == 4) &&
         image.pixels.size() ==
             static_cast<std::size_t>(image.width) * image.height * image.channels;
}

// Resamples to a size cap taken from the input.
void resampleToTextureSize(const PngImage& image, std::size_t seed) {
  const int maxSide = 1 + static_cast<int>(seed % 1024);
  PngImage level = resampleToPowerOfTwo(image, maxSide);
  if (level.width != textureSide(image.width, maxSide) ||
      level.height != textureSide(image.height, maxSide) || !describesItsPixels(level)) {
    std::abort();
  }
}

// Decodes one input and checks the outcome.
void decodeAndCheck(const std::uint8_t* data, std::size_t size) {
  PngImage image;
  if (!decodePngMemory(data, size, image)) {
    if (!image.pixels.empty() || image.width != 0) std::abort();
    return;
  }
  if (!describesItsPixels(image)) std::abort();
  if (image.width <= kMaxResampledSide && image.height <= kMaxResampledSide) {
    resampleToTextureSize(image, size);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  decodeAndCheck(data, size);
  std::vector<std::uint8_t> repaired = withRepairedCrcs(data, size);
  decodeAndCheck(repaired.data(), repaired.size());
  return 0;
}
