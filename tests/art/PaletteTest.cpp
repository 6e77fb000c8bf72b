// The palette chooser: few colours are kept exactly, many share 256 entries spread over them.
#include "backdrop/Palette.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using Rgb = std::array<int, 3>;

// A side x side picture whose pixel (x, y) has colour(x, y), as RGB triples.
template <typename ColourAt>
std::vector<std::uint8_t> picture(int side, ColourAt colour) {
  std::vector<std::uint8_t> rgb;
  for (int y = 0; y < side; ++y)
    for (int x = 0; x < side; ++x)
      for (int c : colour(x, y)) rgb.push_back(static_cast<std::uint8_t>(c));
  return rgb;
}

struct PaletteCase {
  std::string name;
  std::vector<std::uint8_t> rgb;
  size_t entries;  // palette size expected
  int maxError;    // largest difference allowed in any channel of any pixel
};

TEST(Palette, FewColoursStayExactAndManyShareEvenlySpreadEntries) {
  const std::vector<PaletteCase> cases = {
      {"one colour", picture(4, [](int, int) { return Rgb{9, 80, 200}; }), 1, 0},
      {"256 colours", picture(16, [](int x, int y) { return Rgb{x * 16, y * 16, x ^ y}; }), 256, 0},
      // 4096 colours on an even grid: the best 256 entries are 16 x 16 cells of 4 x 4 colours
      // four levels apart, whose centres lie 6 levels from their farthest colour.
      {"4096 colours", picture(64, [](int x, int y) { return Rgb{x * 4, y * 4, 128}; }), 256, 6},
  };
  for (const PaletteCase& c : cases) {
    SCOPED_TRACE(c.name);
    const art::IndexedPicture indexed = art::quantise(c.rgb);
    EXPECT_EQ(indexed.palette.size(), c.entries);
    ASSERT_EQ(indexed.indices.size(), c.rgb.size() / 3);
    int worst = 0;
    for (size_t p = 0; p < indexed.indices.size(); ++p) {
      ASSERT_LT(indexed.indices[p], indexed.palette.size());
      const auto& entry = indexed.palette[indexed.indices[p]];
      for (size_t k = 0; k < 3; ++k) worst = std::max(worst, std::abs(entry[k] - c.rgb[p * 3 + k]));
    }
    EXPECT_LE(worst, c.maxError);
  }
}

}  // namespace
