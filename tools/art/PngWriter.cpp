#include "tools/art/PngWriter.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <memory>
#include <vector>

namespace art {

namespace {

// zlib level 2 and no row filter: backdrops are decoded while a level loads, and unfiltered rows
// skip libpng's unfilter pass (measured: about a quarter faster to decode than the sub filter,
// and no larger, because the stone's grain defeats prediction anyway).
constexpr int kZlibLevel = 2;

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

// Runs the libpng calls; libpng reports errors by longjmp, so nothing here owns resources.
bool encode(std::FILE* file, png_structp png, png_infop info, const Canvas& canvas,
            const std::vector<std::uint8_t>& bytes, int channels) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_init_io(png, file);
  png_set_compression_level(png, kZlibLevel);
  png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
  png_set_IHDR(png, info, canvas.width(), canvas.height(), 8,
               channels == 4 ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
  png_write_info(png, info);
  const size_t stride = static_cast<size_t>(canvas.width()) * channels;
  for (int y = 0; y < canvas.height(); ++y)
    png_write_row(png, const_cast<png_bytep>(&bytes[y * stride]));
  png_write_end(png, nullptr);
  return true;
}

}  // namespace

std::string writePng(const std::string& path, const Canvas& canvas, PngChannels channels) {
  if (canvas.width() <= 0 || canvas.height() <= 0) return "empty picture for " + path;
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
  if (!file) return "cannot open " + path + " for writing";
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!png) return "libpng could not start";
  png_infop info = png_create_info_struct(png);
  const int count = channels == PngChannels::Rgba ? 4 : 3;
  const std::vector<std::uint8_t> bytes = canvas.toBytes(count == 4);
  const bool ok = info && encode(file.get(), png, info, canvas, bytes, count);
  png_destroy_write_struct(&png, &info);
  if (!ok) return "libpng failed writing " + path;
  if (std::fflush(file.get()) != 0) return "cannot finish writing " + path;
  return "";
}

}  // namespace art
