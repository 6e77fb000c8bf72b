#pragma once
// Chooses at most 256 colours for an opaque picture and maps every pixel to one of them, so the
// picture can be stored as an indexed-colour PNG. Integer arithmetic throughout: the same pixels
// give the same palette and indices on every machine.
#include <array>
#include <cstdint>
#include <vector>

namespace art {

constexpr int kPaletteSize = 256;

struct IndexedPicture {
  std::vector<std::array<std::uint8_t, 3>> palette;  // RGB entries, at most kPaletteSize
  std::vector<std::uint8_t> indices;                 // one palette index per pixel
};

// The picture given as 8-bit RGB triples. A picture of at most kPaletteSize colours keeps them
// exactly; a richer one gets a palette from weighted median cut refined by a few k-means passes.
IndexedPicture quantise(const std::vector<std::uint8_t>& rgb);

}  // namespace art
