#pragma once
// Small PNG files written on the fly for tests: solid squares, quadrants, and whole sprite sets.
#include <cstdint>
#include <string>

namespace testimages {

struct Rgba {
  std::uint8_t r, g, b, a;
};

// Writes a width x height RGBA PNG whose pixel (x, y), y from the top, is colourAt(x, y).
void writeRgba(const std::string& path, int width, int height, Rgba (*colourAt)(int x, int y, int w, int h));
// Writes a solid square.
void writeSolid(const std::string& path, Rgba colour, int side = 8);

// Left half red, right half blue, top rows green: tells upright from flipped and mirrored.
Rgba markedQuadrants(int x, int y, int w, int h);

// Makes dir/images/ with every sprite and screen picture as a distinct solid or marked image,
// and dir/levels/ and dir/audio/ empty.
void writeGameImages(const std::string& dir);

}  // namespace testimages
