// Level backdrops: the staged pictures match their level files, and each kind of object is drawn
// where it acts and looks like what it is.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "backdrop/Backdrop.h"
#include "backdrop/Palette.h"
#include "backdrop/WorldView.h"
#include "render/PngImage.h"
#include "tests/art/PngRead.h"
#include "tests/support/TempDir.h"
#include "tools/art/ArtBuild.h"

namespace {

using art::Canvas;
using art::Rgba;

// A level with one of each kind of object on empty cells, far enough apart not to touch.
// Row 2: "(" at column 2, ")" at 6, "[" at 10, "G" at 14.
// Row 7: a "3" fire (lift reach 20 units) at column 4, "U" at 10, "=" at 15.
const char* const kSampleLevel =
    "....................\n"
    "....................\n"
    "..(...)...[...G.....\n"
    "....................\n"
    "....................\n"
    "....................\n"
    "....................\n"
    "....3.....U....=....\n"
    "....................\n"
    "....................\n"
    "....................\n"
    "....................\n"
    "....................\n"
    "....................\n"
    "....................\n";

struct Colour {
  double r, g, b;
  double distance(const Colour& o) const { return std::fabs(r - o.r) + std::fabs(g - o.g) + std::fabs(b - o.b); }
  double brightness() const { return r + g + b; }
};

Colour at(const Canvas& canvas, float x, float y) {
  const Rgba c = canvas.pixel(static_cast<int>(x), static_cast<int>(y));
  return Colour{c.r * 255, c.g * 255, c.b * 255};
}

// Mean colour over the middle 60% of a cell (row 0 at the top).
Colour cellMean(const Canvas& canvas, int column, int row) {
  const float x0 = column * art::kCellPixels, y0 = row * art::kCellPixels;
  Colour sum{0, 0, 0};
  int count = 0;
  for (float y = y0 + art::kCellPixels * 0.2f; y < y0 + art::kCellPixels * 0.8f; y += 1)
    for (float x = x0 + art::kCellPixels * 0.2f; x < x0 + art::kCellPixels * 0.8f; x += 1, ++count) {
      const Colour c = at(canvas, x, y);
      sum = {sum.r + c.r, sum.g + c.g, sum.b + c.b};
    }
  return {sum.r / count, sum.g / count, sum.b / count};
}

class SampleBackdrop : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    TempDir dir;
    backdrop_ = new Canvas(art::renderBackdropFile(dir.write("level1.txt", kSampleLevel)));
    sky_ = new Canvas(art::paintSky());
  }
  static void TearDownTestSuite() {
    delete backdrop_;
    delete sky_;
  }
  static Canvas* backdrop_;
  static Canvas* sky_;
};
Canvas* SampleBackdrop::backdrop_ = nullptr;
Canvas* SampleBackdrop::sky_ = nullptr;

TEST_F(SampleBackdrop, EachKindStandsOutFromTheSkyAndFromTheOthers) {
  const Colour wall = cellMean(*backdrop_, 2, 2), hazard = cellMean(*backdrop_, 10, 2);
  const Colour exit = cellMean(*backdrop_, 14, 2), fire = cellMean(*backdrop_, 4, 7);
  const std::vector<Colour> kinds{wall, hazard, exit, fire};
  for (size_t i = 0; i < kinds.size(); ++i) {
    EXPECT_GT(kinds[i].distance(cellMean(*sky_, 2, 2)), 60) << "kind " << i << " blends into the sky";
    for (size_t j = i + 1; j < kinds.size(); ++j)
      EXPECT_GT(kinds[i].distance(kinds[j]), 60) << "kinds " << i << " and " << j << " look alike";
  }
  EXPECT_GT(hazard.r, 1.5 * hazard.g) << "hazards are red";
  EXPECT_GT(exit.g, exit.r + 40) << "exits are green";
  EXPECT_GT(exit.g, exit.b + 40) << "exits are green";
  EXPECT_GT(fire.r, fire.b + 40) << "fires are warm";
  EXPECT_LT(std::fabs(wall.r - wall.g), 40) << "walls are stone, not a signal colour";
}

TEST_F(SampleBackdrop, WallsLightOnlyTheFacesTheyGuard) {
  const float c = art::kCellPixels, y = 2.5f * c;
  // "(" guards its left face, ")" its right; the open face is drawn dark.
  const Colour openLeft = at(*backdrop_, 6 * c + 1.5f, y), litRight = at(*backdrop_, 7 * c - 1.5f, y);
  const Colour litLeft = at(*backdrop_, 2 * c + 1.5f, y), openRight = at(*backdrop_, 3 * c - 1.5f, y);
  EXPECT_GT(litLeft.brightness(), openRight.brightness() + 150);
  EXPECT_GT(litRight.brightness(), openLeft.brightness() + 150);
  // Both guard their top and bottom.
  EXPECT_GT(at(*backdrop_, 2.5f * c, 2 * c + 1.5f).brightness(), openRight.brightness() + 150);
  EXPECT_GT(at(*backdrop_, 6.5f * c, 3 * c - 1.5f).brightness(), openLeft.brightness() + 150);
}

TEST_F(SampleBackdrop, TallAndWideHazardsReachHalfAUnitIntoTheirNeighbours) {
  const float c = art::kCellPixels, half = 0.5f * art::kPixelsPerUnit;
  // "U" at column 10, row 7 is 6 units high: half a unit above and below its cell.
  const float ux = 10.5f * c;
  for (float y : {7 * c - half + 1.5f, 8 * c + half - 1.5f})
    EXPECT_GT(at(*backdrop_, ux, y).distance(at(*sky_, ux, y)), 100) << "y " << y;
  for (float y : {7 * c - half - 2.5f, 8 * c + half + 2.5f})
    EXPECT_LT(at(*backdrop_, ux, y).distance(at(*sky_, ux, y)), 3) << "y " << y;
  // "=" at column 15 is 6 units wide: half a unit left and right of its cell.
  const float ey = 7.5f * c;
  for (float x : {15 * c - half + 1.5f, 16 * c + half - 1.5f})
    EXPECT_GT(at(*backdrop_, x, ey).distance(at(*sky_, x, ey)), 100) << "x " << x;
  for (float x : {15 * c - half - 2.5f, 16 * c + half + 2.5f})
    EXPECT_LT(at(*backdrop_, x, ey).distance(at(*sky_, x, ey)), 3) << "x " << x;
}

TEST_F(SampleBackdrop, LiftShimmerRisesOverTheFireToItsReachOnly) {
  // The "3" fire at column 4, row 7 (centre y 37.5) lifts up to 20 units above its centre.
  const float x0 = art::pixelX(-27.5f - 3), x1 = art::pixelX(-27.5f + 3);
  auto meanBrightness = [&](const Canvas& canvas, float y0, float y1) {
    double sum = 0;
    int count = 0;
    for (float y = y0; y < y1; y += 1)
      for (float x = x0; x < x1; x += 1, ++count) sum += at(canvas, x, y).brightness();
    return sum / count;
  };
  const float inside0 = art::pixelY(37.5f + 15), inside1 = art::pixelY(37.5f + 5);
  EXPECT_GT(meanBrightness(*backdrop_, inside0, inside1), meanBrightness(*sky_, inside0, inside1) + 6);
  const float above0 = art::pixelY(75), above1 = art::pixelY(37.5f + 21);
  EXPECT_NEAR(meanBrightness(*backdrop_, above0, above1), meanBrightness(*sky_, above0, above1), 0.01);
}

TEST(Backdrop, MissingOrEmptyLevelShowsOnlyTheSky) {
  TempDir dir;
  const std::vector<std::uint8_t> sky = art::paintSky().toBytes(false);
  EXPECT_EQ(art::renderBackdropFile(dir.file("no-such-level.txt")).toBytes(false), sky);
  EXPECT_EQ(art::renderBackdropFile(dir.write("level1.txt", "")).toBytes(false), sky);
}

TEST(Backdrop, FindsLevelFilesInNumericOrder) {
  TempDir dir;
  for (const char* name : {"level10.txt", "level2.txt", "level1.txt", "levelx.txt", "level3.txt.bak", "notes.txt"})
    dir.write(name, "");
  const std::vector<art::LevelBackdrop> levels = art::findLevels(dir.path());
  ASSERT_EQ(levels.size(), 3u);
  EXPECT_EQ(levels[0].backdropName, "level1bg.png");
  EXPECT_EQ(levels[1].backdropName, "level2bg.png");
  EXPECT_EQ(levels[2].backdropName, "level10bg.png");
  EXPECT_TRUE(art::findLevels(dir.file("missing")).empty());
}

// The drawing as the indexed file stores it: each pixel replaced by its palette entry.
std::vector<std::uint8_t> asStored(const std::vector<std::uint8_t>& rgb) {
  const art::IndexedPicture indexed = art::quantise(rgb);
  std::vector<std::uint8_t> out;
  out.reserve(rgb.size());
  for (std::uint8_t i : indexed.indices)
    out.insert(out.end(), indexed.palette[i].begin(), indexed.palette[i].end());
  return out;
}

// How far a stored backdrop may stray from its drawing, per 8-bit channel sample: a level or so
// on average (the sky and the stone), and more only at a few edges and highlights.
constexpr double kMaxMeanDifference = 1.5;
constexpr int kLargeDifference = 8;
constexpr double kMaxShareOfLargeDifferences = 0.005;

// Compares drawn RGB with decoded pixels of `channels` bytes each; a failure names `what`.
void expectLooksAsDrawn(const std::vector<std::uint8_t>& drawn, const unsigned char* decoded,
                        int channels, const std::string& what) {
  const size_t pixels = drawn.size() / 3;
  double sum = 0;
  size_t large = 0;
  for (size_t p = 0; p < pixels; ++p)
    for (size_t c = 0; c < 3; ++c) {
      const int d = std::abs(int{drawn[p * 3 + c]} - int{decoded[p * channels + c]});
      sum += d;
      large += d > kLargeDifference;
    }
  EXPECT_LE(sum / (pixels * 3), kMaxMeanDifference) << what;
  EXPECT_LE(static_cast<double>(large) / (pixels * 3), kMaxShareOfLargeDifferences) << what;
}

// The first pixel where two pictures differ, as text, or "" when they are the same.
std::string firstDifference(const std::vector<std::uint8_t>& rgb, const unsigned char* other,
                            int channels, int width) {
  for (size_t p = 0; p < rgb.size() / 3; ++p)
    if (std::memcmp(&rgb[p * 3], &other[p * channels], 3) != 0)
      return "x " + std::to_string(p % width) + ", y " + std::to_string(p / width);
  return "";
}

// The written backdrop is an indexed-colour file, and the game's own decoder expands it to
// exactly the stored colours, close to what was drawn.
TEST(Backdrop, GameDecodesTheWrittenFileToTheStoredColours) {
  TempDir dir;
  const std::string level = dir.write("level1.txt", kSampleLevel);
  ASSERT_EQ(art::writeBackdrop(level, dir.file("level1bg.png")), "");
  arttest::Picture file;
  ASSERT_TRUE(arttest::readPng(dir.file("level1bg.png"), file));
  EXPECT_TRUE(file.indexed) << "backdrops are stored as palette indices";
  EXPECT_FALSE(file.hasAlpha) << "backdrops are opaque";
  PngImage decoded;
  ASSERT_TRUE(decodePngFile(dir.file("level1bg.png").c_str(), decoded));
  ASSERT_EQ(decoded.width, art::kScreenWidth);
  ASSERT_EQ(decoded.height, art::kScreenHeight);
  ASSERT_EQ(decoded.channels, 3);
  const std::vector<std::uint8_t> drawn = art::renderBackdropFile(level).toBytes(false);
  EXPECT_EQ(firstDifference(asStored(drawn), decoded.pixels.data(), 3, decoded.width), "");
  expectLooksAsDrawn(drawn, decoded.pixels.data(), 3, "sample level");
}

// The staged backdrops must be what the level files in the source tree draw today: a level edited
// without rebuilding its picture would show the player walls that are not there. Each must also
// stay as close to its drawing as the sample level is.
TEST(StagedBackdrops, MatchTheirLevelFilesPixelForPixel) {
  const std::vector<art::LevelBackdrop> levels = art::findLevels(ZARVOLITH_LEVELS_DIR);
  if (levels.empty()) GTEST_SKIP() << "no level files in " << ZARVOLITH_LEVELS_DIR;
  for (const art::LevelBackdrop& level : levels) {
    SCOPED_TRACE(level.levelPath);
    arttest::Picture staged;
    ASSERT_TRUE(arttest::readPng(std::string(ZARVOLITH_IMAGES_DIR) + "/" + level.backdropName, staged))
        << "missing staged " << level.backdropName;
    const Canvas fresh = art::renderBackdropFile(level.levelPath);
    ASSERT_EQ(staged.width, fresh.width());
    ASSERT_EQ(staged.height, fresh.height());
    const std::vector<std::uint8_t> drawn = fresh.toBytes(false);
    EXPECT_EQ(firstDifference(asStored(drawn), staged.rgba.data(), 4, staged.width), "")
        << "stale pixel";
    expectLooksAsDrawn(drawn, staged.rgba.data(), 4, level.backdropName);
  }
}

}  // namespace
