#include "tests/support/TestImages.h"

#include <png.h>

#include <cstdio>
#include <filesystem>
#include <vector>

namespace testimages {

void writeRgba(const std::string& path, int width, int height, Rgba (*colourAt)(int, int, int, int)) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
    return;
  }
  png_init_io(png, file);
  png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  std::vector<png_byte> row(static_cast<size_t>(width) * 4);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const Rgba c = colourAt(x, y, width, height);
      row[x * 4 + 0] = c.r, row[x * 4 + 1] = c.g, row[x * 4 + 2] = c.b, row[x * 4 + 3] = c.a;
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  std::fclose(file);
}

namespace {
Rgba solidColour;
Rgba solid(int, int, int, int) { return solidColour; }
}  // namespace

void writeSolid(const std::string& path, Rgba colour, int side) {
  solidColour = colour;
  writeRgba(path, side, side, solid);
}

Rgba markedQuadrants(int x, int y, int w, int h) {
  if (y < h / 4) return {0, 255, 0, 255};
  return x < w / 2 ? Rgba{255, 0, 0, 255} : Rgba{0, 0, 255, 255};
}

void writeGameImages(const std::string& dir) {
  namespace fs = std::filesystem;
  fs::create_directories(fs::path(dir) / "images");
  fs::create_directories(fs::path(dir) / "levels");
  fs::create_directories(fs::path(dir) / "audio");
  const std::string images = dir + "/images/";
  writeSolid(images + "red.png", {255, 0, 0, 255});
  writeSolid(images + "blue.png", {0, 0, 255, 255});
  writeSolid(images + "green.png", {0, 255, 0, 255});
  writeSolid(images + "gray.png", {128, 128, 128, 255});
  writeSolid(images + "white.png", {255, 255, 255, 255});
  writeSolid(images + "black.png", {0, 0, 0, 255});
  writeRgba(images + "glider.png", 16, 16, markedQuadrants);
  writeSolid(images + "glider_c.png", {255, 255, 0, 255});
  writeSolid(images + "fire1.png", {255, 128, 0, 255});
  writeSolid(images + "fire2.png", {128, 0, 255, 255});
  writeSolid(images + "escape.png", {0, 255, 255, 255});
  writeSolid(images + "lost.png", {255, 0, 255, 255});
  writeSolid(images + "heat.png", {255, 255, 255, 255});
  // Screens are large enough that the clamped edge texels stay within a few pixels of the border.
  writeSolid(images + "background.png", {40, 40, 40, 255}, 256);
  writeSolid(images + "titlescreen.png", {10, 200, 10, 128}, 256);  // half alpha: must be ignored
  writeSolid(images + "instructions.png", {200, 10, 10, 128}, 256);
}

}  // namespace testimages
