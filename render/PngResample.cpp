#include "render/PngResample.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

// Bilinear weights are fixed point with this many steps between two neighbouring pixels.
constexpr int kWeightOne = 256;
constexpr int kWeightShift = 8;

// Where one output pixel samples along one axis: between source pixels `first` and `second`,
// `weight` / kWeightOne of the way towards `second`.
struct Tap {
  int first;
  int second;
  int weight;
};

// Maps output pixel centres onto source pixel centres, clamped so the edge pixels are reproduced.
std::vector<Tap> bilinearTaps(int sourceSize, int targetSize) {
  std::vector<Tap> taps(static_cast<std::size_t>(targetSize));
  double scale = static_cast<double>(sourceSize) / targetSize;
  for (int i = 0; i < targetSize; ++i) {
    double position = std::clamp((i + 0.5) * scale - 0.5, 0.0, sourceSize - 1.0);
    int first = static_cast<int>(position);
    int second = std::min(first + 1, sourceSize - 1);
    int weight = static_cast<int>(std::lround((position - first) * kWeightOne));
    taps[static_cast<std::size_t>(i)] = Tap{first, second, weight};
  }
  return taps;
}

// One output row between two source rows: out = (upper * keep + lower * take) / kWeightOne,
// rounded. 16-bit sums suffice (255 * 256 + 128 < 65536). Whole blocks of 16 bytes, and rows that
// never overlap, let the compiler vectorise the blocks at the build's usual optimisation level.
void blendRows(const unsigned char* __restrict upper, const unsigned char* __restrict lower,
               unsigned char* __restrict out, std::size_t bytes, int keep, int take) {
  const auto blend = [keep = static_cast<std::uint16_t>(keep),
                      take = static_cast<std::uint16_t>(take)](unsigned char a, unsigned char b) {
    return static_cast<unsigned char>(
        static_cast<std::uint16_t>(a * keep + b * take + kWeightOne / 2) >> kWeightShift);
  };
  constexpr std::size_t kBlock = 16;
  std::size_t i = 0;
  for (; i + kBlock <= bytes; i += kBlock) {
    for (std::size_t j = 0; j < kBlock; ++j) out[i + j] = blend(upper[i + j], lower[i + j]);
  }
  for (; i < bytes; ++i) out[i] = blend(upper[i], lower[i]);
}

void bilinearResize(const PngImage& source, int width, int height, PngImage& target) {
  target.width = width;
  target.height = height;
  target.channels = source.channels;
  target.pixels.resize(static_cast<std::size_t>(width) * height * source.channels);
  const std::vector<Tap> columns = bilinearTaps(source.width, width);
  const std::vector<Tap> rows = bilinearTaps(source.height, height);
  const int channels = source.channels;
  const std::size_t sourceStride = static_cast<std::size_t>(source.width) * channels;
  unsigned char* out = target.pixels.data();
  if (width == source.width) {
    // Only the height changes (a 1024 x 768 picture, say): each output row blends two source rows
    // with one weight, which is the general formula below with every column weight zero.
    for (const Tap& row : rows) {
      const unsigned char* upper = source.pixels.data() + row.first * sourceStride;
      const unsigned char* lower = source.pixels.data() + row.second * sourceStride;
      blendRows(upper, lower, out, sourceStride, kWeightOne - row.weight, row.weight);
      out += sourceStride;
    }
    return;
  }
  for (const Tap& row : rows) {
    const unsigned char* upper = source.pixels.data() + row.first * sourceStride;
    const unsigned char* lower = source.pixels.data() + row.second * sourceStride;
    for (const Tap& column : columns) {
      const std::size_t left = static_cast<std::size_t>(column.first) * channels;
      const std::size_t right = static_cast<std::size_t>(column.second) * channels;
      for (int c = 0; c < channels; ++c) {
        int top = upper[left + c] * (kWeightOne - column.weight) + upper[right + c] * column.weight;
        int bottom = lower[left + c] * (kWeightOne - column.weight) + lower[right + c] * column.weight;
        int mixed = top * (kWeightOne - row.weight) + bottom * row.weight;
        *out++ = static_cast<unsigned char>((mixed + (1 << (2 * kWeightShift - 1))) >>
                                            (2 * kWeightShift));
      }
    }
  }
}

}  // namespace

bool isWellFormed(const PngImage& image) {
  return image.width > 0 && image.height > 0 && (image.channels == 3 || image.channels == 4) &&
         image.pixels.size() ==
             static_cast<std::size_t>(image.width) * image.height * image.channels;
}

int nextPowerOfTwo(int n) {
  int power = 1;
  while (power < n && power <= (1 << 29)) power <<= 1;
  return power;
}

int textureSide(int imageSide, int maxSide) {
  int cap = 1;
  while (cap <= maxSide / 2) cap <<= 1;
  return std::min(nextPowerOfTwo(imageSide), cap);
}

PngImage resampleToPowerOfTwo(const PngImage& image, int maxSide) {
  PngImage resized;
  resampleToPowerOfTwoInto(image, maxSide, resized);
  return resized;
}

void resampleToPowerOfTwoInto(const PngImage& image, int maxSide, PngImage& resized) {
  resized.width = resized.height = resized.channels = 0;
  resized.pixels.clear();
  if (!isWellFormed(image)) return;
  int width = textureSide(image.width, maxSide);
  int height = textureSide(image.height, maxSide);
  if (width == image.width && height == image.height) {
    resized = image;
    return;
  }
  bilinearResize(image, width, height, resized);
}
