#include "render/PngImage.h"

#include <png.h>

#include <cmath>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "io/FileBytes.h"

namespace {

constexpr double kDefaultScreenGamma = 2.2;
constexpr double kUntaggedFileGamma = 1.0 / 2.2;  // what an sRGB-ish file without gAMA is taken to be
// libpng keeps gammas in fixed point and refuses values far outside this range.
constexpr double kMinScreenGamma = 0.01;
constexpr double kMaxScreenGamma = 100.0;
// Deflate never expands data by more than 1032:1, so a file cannot hold more image bytes than
// this many times its own size. Checking it stops a tiny damaged file from making us allocate
// and zero up to a gigabyte before libpng finds the data missing.
constexpr std::uint64_t kMaxInflateRatio = 1032;
constexpr std::size_t kSignatureBytes = 8;

struct MemoryReader {
  const unsigned char* data = nullptr;
  std::size_t size = 0;
  std::size_t offset = 0;
};

// Everything one decode needs that must outlive a libpng error: the error handler longjmps into
// runDecode(), so no object with a destructor may live in the frames it jumps over.
struct ReadSession {
  png_structp png = nullptr;
  png_infop info = nullptr;
  MemoryReader reader;
  std::vector<png_bytep> rows;

  ReadSession() = default;
  ReadSession(const ReadSession&) = delete;
  ReadSession& operator=(const ReadSession&) = delete;
  ~ReadSession() { png_destroy_read_struct(&png, info ? &info : nullptr, nullptr); }
};

void readFromMemory(png_structp png, png_bytep dest, png_size_t length) {
  auto* reader = static_cast<MemoryReader*>(png_get_io_ptr(png));
  if (length > reader->size - reader->offset) png_error(png, "unexpected end of data");
  std::memcpy(dest, reader->data + reader->offset, length);
  reader->offset += length;
}

void reportError(png_structp png, png_const_charp message) {
  std::fprintf(stderr, "libpng error: %s\n", message);
  png_longjmp(png, 1);
}

// Damaged ancillary chunks are skipped; the picture itself is what matters.
void ignoreWarning(png_structp, png_const_charp) {}

// 2.2 divided by the VIEWING_GAMMA the player set, or plain 2.2 when it is unset or not a
// positive number.
double screenGamma() {
  const char* text = std::getenv("VIEWING_GAMMA");
  if (text == nullptr) return kDefaultScreenGamma;
  char* end = nullptr;
  double viewing = std::strtod(text, &end);
  if (end == text || *end != '\0' || !std::isfinite(viewing) || viewing <= 0.0) {
    return kDefaultScreenGamma;
  }
  double gamma = kDefaultScreenGamma / viewing;
  if (gamma < kMinScreenGamma) return kMinScreenGamma;
  if (gamma > kMaxScreenGamma) return kMaxScreenGamma;
  return gamma;
}

double fileGamma(png_structp png, png_infop info) {
  double gamma = 0.0;
  if (png_get_gAMA(png, info, &gamma) && gamma > 0.0) return gamma;
  return kUntaggedFileGamma;
}

// True when the compressed data could possibly hold all the pixels IHDR announces.
bool dataCanHoldImage(const ReadSession& s) {
  std::uint64_t bitsPerPixel =
      std::uint64_t{png_get_bit_depth(s.png, s.info)} * png_get_channels(s.png, s.info);
  std::uint64_t imageBytes = std::uint64_t{png_get_image_width(s.png, s.info)} *
                             png_get_image_height(s.png, s.info) * bitsPerPixel / 8;
  return imageBytes <= std::uint64_t{s.reader.size} * kMaxInflateRatio;
}

// Asks libpng for 8-bit RGB or RGBA whatever the file holds.
void requestRgb8(png_structp png, png_infop info) {
  png_byte colorType = png_get_color_type(png, info);
  png_set_expand(png);  // palette to RGB, grey below 8 bits up to 8
  if (png_get_valid(png, info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(png);
  png_set_strip_16(png);
  if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA) {
    png_set_gray_to_rgb(png);
  }
  png_set_interlace_handling(png);
  // libpng leaves the samples alone when the two gammas cancel out.
  png_set_gamma(png, screenGamma(), fileGamma(png, info));
}

// Runs libpng over s.reader into `out`. Any libpng error prints, longjmps back to the setjmp
// here and returns false, so this frame holds no objects with destructors: the state lives in
// the caller's `s` and `out`.
bool runDecode(ReadSession& s, PngImage& out) {
  if (setjmp(png_jmpbuf(s.png))) return false;

  png_set_read_fn(s.png, &s.reader, readFromMemory);
  png_set_user_limits(s.png, kMaxPngSide, kMaxPngSide);
  // Every chunk's CRC already catches damage to the compressed bytes, so the zlib stream's
  // Adler-32 over the inflated pixels is not checked a second time.
  png_set_option(s.png, PNG_IGNORE_ADLER32, PNG_OPTION_ON);
  png_read_info(s.png, s.info);

  png_uint_32 width = png_get_image_width(s.png, s.info);
  png_uint_32 height = png_get_image_height(s.png, s.info);
  if (width == 0 || height == 0 || width > png_uint_32{kMaxPngSide} ||
      height > png_uint_32{kMaxPngSide}) {
    png_error(s.png, "image too large");
  }
  if (!dataCanHoldImage(s)) png_error(s.png, "image larger than its data could hold");

  requestRgb8(s.png, s.info);
  png_read_update_info(s.png, s.info);
  int channels = png_get_channels(s.png, s.info);
  std::size_t rowBytes = png_get_rowbytes(s.png, s.info);
  if ((channels != 3 && channels != 4) || png_get_bit_depth(s.png, s.info) != 8 ||
      rowBytes != std::size_t{width} * channels) {
    png_error(s.png, "unexpected decoded pixel format");
  }

  out.pixels.resize(rowBytes * height);
  s.rows.resize(height);
  for (png_uint_32 y = 0; y < height; ++y) s.rows[y] = out.pixels.data() + y * rowBytes;
  png_read_image(s.png, s.rows.data());
  png_read_end(s.png, nullptr);

  out.width = static_cast<int>(width);
  out.height = static_cast<int>(height);
  out.channels = channels;
  return true;
}

// Empties the image but keeps its buffer, so a reused image does not reallocate.
void clearImage(PngImage& image) {
  image.width = image.height = image.channels = 0;
  image.pixels.clear();
}

}  // namespace

bool decodePngMemory(const unsigned char* data, std::size_t size, PngImage& out) {
  clearImage(out);
  // Anything without the full signature is not a PNG at all, so it fails without a message.
  if (data == nullptr || size < kSignatureBytes || png_sig_cmp(data, 0, kSignatureBytes) != 0) {
    return false;
  }
  bool ok = false;
  try {
    ReadSession session;
    session.reader = MemoryReader{data, size, 0};
    session.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, reportError, ignoreWarning);
    if (session.png == nullptr) return false;
    session.info = png_create_info_struct(session.png);
    if (session.info == nullptr) return false;
    ok = runDecode(session, out);
  } catch (const std::bad_alloc&) {
    ok = false;
  }
  if (!ok) clearImage(out);
  return ok;
}

bool decodePngFile(const char* path, PngImage& out) {
  clearImage(out);
  if (path == nullptr) return false;
  std::vector<unsigned char> bytes;
  if (!readWholeFile(path, bytes)) return false;
  return decodePngMemory(bytes.data(), bytes.size(), out);
}
