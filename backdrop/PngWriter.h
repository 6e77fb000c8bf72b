#pragma once
// Writes pictures as PNG files: RGB for opaque pictures, RGBA for sprites, and indexed colour
// (at most 256 colours chosen per picture) for the level backdrops, which must stay small.
#include <string>

#include "backdrop/Canvas.h"

namespace art {

enum class PngChannels { Rgb, Rgba, Indexed };

// Writes the canvas to path. Returns an empty string on success, otherwise what went wrong.
std::string writePng(const std::string& path, const Canvas& canvas, PngChannels channels);

}  // namespace art
