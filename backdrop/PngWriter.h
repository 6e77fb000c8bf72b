#pragma once
// Writes pictures as PNG files: RGB for opaque pictures, RGBA for sprites, and indexed colour
// (at most 256 colours chosen per picture) for the level backdrops, which must stay small.
#include <cstdint>
#include <string>
#include <vector>

#include "backdrop/Canvas.h"

namespace art {

enum class PngChannels { Rgb, Rgba, Indexed };

// Encodes the canvas as the bytes of a PNG file into `bytes`. Returns an empty string on success,
// otherwise what went wrong.
std::string encodePng(const Canvas& canvas, PngChannels channels, std::vector<std::uint8_t>& bytes);

// Writes the canvas to path, as encodePng encodes it. Returns an empty string on success,
// otherwise what went wrong.
std::string writePng(const std::string& path, const Canvas& canvas, PngChannels channels);

}  // namespace art
