#pragma once
// Writes pictures as PNG files tuned to decode quickly: light zlib compression and no row filter,
// RGB for opaque pictures and RGBA for sprites.
#include <string>

#include "tools/art/Canvas.h"

namespace art {

enum class PngChannels { Rgb, Rgba };

// Writes the canvas to path. Returns an empty string on success, otherwise what went wrong.
std::string writePng(const std::string& path, const Canvas& canvas, PngChannels channels);

}  // namespace art
