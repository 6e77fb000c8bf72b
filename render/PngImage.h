#pragma once
// Decodes a PNG file or buffer into 8-bit RGB or RGBA pixels, top row first, with no OpenGL, so
// the textures, the tests and the fuzzer share one decoder.
#include <cstddef>
#include <vector>

// Largest accepted width or height, pixels; larger images are refused before any pixel memory is
// allocated.
constexpr int kMaxPngSide = 16384;

struct PngImage {
  int width = 0;                      // pixels
  int height = 0;                     // pixels
  int channels = 0;                   // 3 = RGB, 4 = RGBA
  std::vector<unsigned char> pixels;  // width * height * channels bytes, rows top first, no padding
};

// Every colour type, bit depth and interlace mode comes out as 8-bit RGB, or RGBA when the file
// has an alpha channel or a tRNS chunk. Gamma: the file's gAMA (1/2.2 when absent) against a
// screen gamma of 2.2 / VIEWING_GAMMA (2.2 when the variable is unset or not a positive number),
// so an untagged file decodes unchanged by default. On failure `out` is left empty and the result
// is false: silently when the data is missing or lacks the PNG signature, otherwise after libpng
// prints "libpng error: <reason>" on stderr.
bool decodePngFile(const char* path, PngImage& out);
// The same for a file already in memory.
bool decodePngMemory(const unsigned char* data, std::size_t size, PngImage& out);
