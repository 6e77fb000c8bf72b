#pragma once
// Makes PNG files for the decoder and texture tests with libpng's own encoder, so no binary
// fixtures live in the repository, plus small tools to damage them in controlled ways.
#include <png.h>

#include <cstdint>
#include <string>
#include <vector>

namespace pngtest {

// How to encode: colour type and bit depth as in png.h, and the optional chunks.
struct EncodeOptions {
  int colorType = PNG_COLOR_TYPE_RGBA;
  int bitDepth = 8;
  bool interlaced = false;
  std::vector<png_color> palette;       // PLTE entries, palette images only
  std::vector<png_byte> paletteAlpha;   // tRNS alpha per palette entry, may be shorter than PLTE
  bool transparentKey = false;          // write a tRNS colour key (grey or RGB images)
  png_color_16 key{};                   // the key: gray, or red/green/blue, in file sample units
  double gamma = 0.0;                   // written as gAMA when positive
};

// Samples per pixel of a PNG colour type (1 for palette indices).
int samplesPerPixel(int colorType);

// Encodes width x height pixels given top row first as samples (each below 2^bitDepth; palette
// indices for palette images), sample order as in the file.
std::vector<unsigned char> encodePng(int width, int height, const std::vector<int>& samples,
                                     const EncodeOptions& options);

// The bytes of one chunk: length, type, data and a correct CRC.
std::vector<unsigned char> makeChunk(const char type[4], const std::vector<unsigned char>& data);

// Offset of the first chunk of this type (where its length field starts), or -1 when absent.
long findChunk(const std::vector<unsigned char>& png, const char type[4]);

// A file holding just the signature, an IHDR with these sides (RGBA, 8 bits), a tiny IDAT and IEND.
std::vector<unsigned char> pngWithHeaderOnly(std::uint32_t width, std::uint32_t height);

}  // namespace pngtest
