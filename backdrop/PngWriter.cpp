#include "backdrop/PngWriter.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <memory>
#include <vector>

#include "backdrop/Palette.h"

namespace art {

namespace {

// Best zlib compression and no row filter. Indexed backdrops are a third of the RGB size before
// compression and decode faster than the RGB files did, and filters only enlarge palette
// indices; the stone's grain defeats prediction in RGB pictures too, and unfiltered rows skip
// libpng's unfilter pass when decoding. Figures in docs/performance.md.
constexpr int kZlibLevel = 9;

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

// libpng's output, appended to a byte vector.
void appendBytes(png_structp png, png_bytep data, png_size_t length) {
  auto* bytes = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
  bytes->insert(bytes->end(), data, data + length);
}
void flushNothing(png_structp) {}

// The rows to write: 1, 3 or 4 bytes a pixel, with the palette of an indexed picture.
struct Rows {
  std::vector<std::uint8_t> bytes;
  int bytesPerPixel;
  int colourType;
  std::vector<png_color> palette;
};

Rows rowsOf(const Canvas& canvas, PngChannels channels) {
  if (channels == PngChannels::Rgba) return {canvas.toBytes(true), 4, PNG_COLOR_TYPE_RGBA, {}};
  if (channels == PngChannels::Rgb) return {canvas.toBytes(false), 3, PNG_COLOR_TYPE_RGB, {}};
  IndexedPicture indexed = quantise(canvas.toBytes(false));
  Rows rows{std::move(indexed.indices), 1, PNG_COLOR_TYPE_PALETTE, {}};
  for (const auto& entry : indexed.palette)
    rows.palette.push_back(png_color{entry[0], entry[1], entry[2]});
  return rows;
}

// Runs the libpng calls; libpng reports errors by longjmp, so nothing here owns resources.
bool encode(std::vector<std::uint8_t>& bytes, png_structp png, png_infop info, const Canvas& canvas,
            const Rows& rows) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_write_fn(png, &bytes, appendBytes, flushNothing);
  png_set_compression_level(png, kZlibLevel);
  png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
  png_set_IHDR(png, info, canvas.width(), canvas.height(), 8, rows.colourType, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
  if (!rows.palette.empty())
    png_set_PLTE(png, info, rows.palette.data(), static_cast<int>(rows.palette.size()));
  png_write_info(png, info);
  const size_t stride = static_cast<size_t>(canvas.width()) * rows.bytesPerPixel;
  for (int y = 0; y < canvas.height(); ++y)
    png_write_row(png, const_cast<png_bytep>(&rows.bytes[y * stride]));
  png_write_end(png, nullptr);
  return true;
}

}  // namespace

std::string encodePng(const Canvas& canvas, PngChannels channels, std::vector<std::uint8_t>& bytes) {
  bytes.clear();
  if (canvas.width() <= 0 || canvas.height() <= 0) return "empty picture";
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!png) return "libpng could not start";
  png_infop info = png_create_info_struct(png);
  const Rows rows = rowsOf(canvas, channels);
  const bool ok = info && encode(bytes, png, info, canvas, rows);
  png_destroy_write_struct(&png, &info);
  if (!ok) {
    bytes.clear();
    return "libpng failed encoding the picture";
  }
  return "";
}

std::string writePng(const std::string& path, const Canvas& canvas, PngChannels channels) {
  std::vector<std::uint8_t> bytes;
  const std::string problem = encodePng(canvas, channels, bytes);
  if (!problem.empty()) return problem + " for " + path;
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
  if (!file) return "cannot open " + path + " for writing";
  if (std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size() || std::fflush(file.get()) != 0)
    return "cannot finish writing " + path;
  return "";
}

}  // namespace art
