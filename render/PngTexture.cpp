#include "render/PngTexture.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <new>
#include <utility>
#include <vector>

#include "render/PngPrefetch.h"

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

bool isWellFormed(const PngImage& image) {
  return image.width > 0 && image.height > 0 && (image.channels == 3 || image.channels == 4) &&
         image.pixels.size() ==
             static_cast<std::size_t>(image.width) * image.height * image.channels;
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
      // 16-bit sums suffice (255 * 256 + 128 < 65536), which lets the compiler vectorise this.
      const std::uint16_t keep = static_cast<std::uint16_t>(kWeightOne - row.weight);
      const std::uint16_t take = static_cast<std::uint16_t>(row.weight);
      for (std::size_t i = 0; i < sourceStride; ++i) {
        out[i] = static_cast<unsigned char>(
            static_cast<std::uint16_t>(upper[i] * keep + lower[i] * take + kWeightOne / 2) >> kWeightShift);
      }
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

// Sets GL_UNPACK_ALIGNMENT to 1 for tightly packed rows and puts the caller's value back.
class TightUnpacking {
 public:
  TightUnpacking() {
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &saved_);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  }
  ~TightUnpacking() { glPixelStorei(GL_UNPACK_ALIGNMENT, saved_); }
  TightUnpacking(const TightUnpacking&) = delete;
  TightUnpacking& operator=(const TightUnpacking&) = delete;

 private:
  GLint saved_ = 4;
};

// Uploads the image as the texture's only level. The minification filter is GL_LINEAR, which
// samples level 0 alone, so smaller levels would never be read: leaving them out saves a third
// more texture memory and, on a software renderer, about half the upload time.
void uploadImage(const PngImage& image) {
  TightUnpacking unpacking;
  GLenum format = image.channels == 4 ? GL_RGBA : GL_RGB;
  glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(format), image.width, image.height, 0, format,
               GL_UNSIGNED_BYTE, image.pixels.data());
}

// Buffers that every load reuses: level loads then do not churn the heap with blocks of several
// MiB, which would cost page faults and let the resident size creep up over restarts.
struct TextureScratch {
  PngImage decoded, resized;
};

TextureScratch& scratch() {
  static TextureScratch buffers;
  return buffers;
}

// Reads the file and brings it to texture size; null when it cannot be decoded.
const PngImage* decodeAtTextureSize(const char* path) {
  TextureScratch& buffers = scratch();
  if (!decodePngFile(path, buffers.decoded)) return nullptr;
  GLint maxSide = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSide);
  const PngImage* image = &buffers.decoded;
  if (textureSide(image->width, maxSide) != image->width ||
      textureSide(image->height, maxSide) != image->height) {
    resampleToPowerOfTwoInto(buffers.decoded, maxSide, buffers.resized);
    image = &buffers.resized;
  }
  return isWellFormed(*image) ? image : nullptr;
}

void discardTexture(GLuint name) {
  glBindTexture(GL_TEXTURE_2D, 0);
  glDeleteTextures(1, &name);
}

// Decodes the file and uploads it into the bound texture; false, with the texture untouched, when
// the file cannot be decoded.
bool uploadPngInto(const char* path) {
  try {
    GLint maxSide = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSide);
    PrefetchedPicture prefetched;
    if (takePrefetchedPicture(path, maxSide, prefetched)) {
      if (!prefetched.decoded) return false;
      uploadImage(prefetched.image);
      return true;
    }
    const PngImage* image = decodeAtTextureSize(path);
    if (!image) return false;
    uploadImage(*image);
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

}  // namespace

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

unsigned int loadPngTexture(const char* path) {
  GLuint name = 0;
  glGenTextures(1, &name);
  glBindTexture(GL_TEXTURE_2D, name);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  if (!uploadPngInto(path)) {
    discardTexture(name);
    return 0;
  }
  return name;
}

bool reloadPngTexture(unsigned int name, const char* path) {
  if (name == 0 || !glIsTexture(name)) return false;
  glBindTexture(GL_TEXTURE_2D, name);
  return uploadPngInto(path);
}
