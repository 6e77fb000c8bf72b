#pragma once
// Decodes PNG files for the art tests, through libpng.
#include <cstdint>
#include <string>
#include <vector>

namespace arttest {

struct Picture {
  int width = 0, height = 0;        // pixels
  bool hasAlpha = false;            // the file stores an alpha channel
  bool indexed = false;             // the file stores palette indices
  std::vector<std::uint8_t> rgba;   // 4 bytes per pixel, rows top to bottom

  // The pixel's channel c (0 red .. 3 alpha).
  int at(int x, int y, int c) const { return rgba[(static_cast<size_t>(y) * width + x) * 4 + c]; }
};

// Decodes the file; false (and an empty picture) when it is missing or not a PNG.
bool readPng(const std::string& path, Picture& picture);

}  // namespace arttest
