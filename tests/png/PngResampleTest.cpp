// Texture sizing without GL: power-of-two sides, the GL size cap and the bilinear resample.
#include "render/PngResample.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

namespace {

using Rgb = std::array<int, 3>;

Rgb rgbAt(const PngImage& image, int x, int y) {
  std::size_t i = (static_cast<std::size_t>(y) * image.width + x) * image.channels;
  return {image.pixels[i], image.pixels[i + 1], image.pixels[i + 2]};
}

// Red fading to green left to right, with blue growing downwards.
PngImage gradient(int width, int height, int channels) {
  PngImage image{width, height, channels, {}};
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      int across = width > 1 ? 255 * x / (width - 1) : 0;
      int down = height > 1 ? 255 * y / (height - 1) : 0;
      unsigned char pixel[4] = {static_cast<unsigned char>(255 - across),
                                static_cast<unsigned char>(across),
                                static_cast<unsigned char>(down), 77};
      image.pixels.insert(image.pixels.end(), pixel, pixel + channels);
    }
  }
  return image;
}

void expectCornersKept(const PngImage& from, const PngImage& to) {
  EXPECT_EQ(rgbAt(to, 0, 0), rgbAt(from, 0, 0));
  EXPECT_EQ(rgbAt(to, to.width - 1, 0), rgbAt(from, from.width - 1, 0));
  EXPECT_EQ(rgbAt(to, 0, to.height - 1), rgbAt(from, 0, from.height - 1));
  EXPECT_EQ(rgbAt(to, to.width - 1, to.height - 1), rgbAt(from, from.width - 1, from.height - 1));
}

TEST(TextureSize, SidesRoundUpToPowersOfTwoWithinTheGlLimit) {
  const std::pair<int, int> nextPowers[] = {{-3, 1}, {0, 1},    {1, 1},       {2, 2},
                                            {3, 4},  {5, 8},    {768, 1024},  {1024, 1024},
                                            {1025, 2048}, {16384, 16384}};
  for (auto [n, power] : nextPowers) EXPECT_EQ(nextPowerOfTwo(n), power) << n;

  EXPECT_EQ(textureSide(3, 1024), 4);
  EXPECT_EQ(textureSide(1024, 1024), 1024);
  EXPECT_EQ(textureSide(1500, 1024), 1024);
  EXPECT_EQ(textureSide(1500, 3000), 2048);  // a limit that is no power of two rounds down
  EXPECT_EQ(textureSide(700, 3000), 1024);
  EXPECT_EQ(textureSide(5, 0), 1);           // no usable limit: the smallest texture
}

TEST(Resample, PowerOfTwoImagesComeBackUnchanged) {
  PngImage image = gradient(8, 2, 4);
  PngImage same = resampleToPowerOfTwo(image, 1024);
  EXPECT_EQ(same.width, 8);
  EXPECT_EQ(same.height, 2);
  EXPECT_EQ(same.channels, 4);
  EXPECT_EQ(same.pixels, image.pixels);
}

TEST(Resample, OddSidesGrowToPowersOfTwoKeepingEdgesAndOrientation) {
  for (int channels : {3, 4}) {
    SCOPED_TRACE(channels);
    PngImage image = gradient(3, 5, channels);
    PngImage grown = resampleToPowerOfTwo(image, 1024);
    ASSERT_EQ(grown.width, 4);
    ASSERT_EQ(grown.height, 8);
    ASSERT_EQ(grown.channels, channels);
    ASSERT_EQ(grown.pixels.size(), 4u * 8u * channels);
    expectCornersKept(image, grown);
    // Red falls left to right and blue rises top to bottom, as in the source.
    for (int x = 1; x < grown.width; ++x) EXPECT_LT(rgbAt(grown, x, 0)[0], rgbAt(grown, x - 1, 0)[0]);
    for (int y = 1; y < grown.height; ++y) EXPECT_GT(rgbAt(grown, 0, y)[2], rgbAt(grown, 0, y - 1)[2]);
    if (channels == 4) {
      for (std::size_t i = 3; i < grown.pixels.size(); i += 4) EXPECT_EQ(grown.pixels[i], 77);
    }
  }
}

TEST(Resample, InteriorPixelsInterpolateBetweenSourceCentres) {
  PngImage row{3, 1, 3, {0, 0, 0, 90, 90, 90, 180, 180, 180}};
  PngImage grown = resampleToPowerOfTwo(row, 64);
  ASSERT_EQ(grown.width, 4);
  // Output centres land at source positions 0 (clamped), 0.625, 1.375 and 2 (clamped).
  const double expected[] = {0.0, 56.25, 123.75, 180.0};
  for (int x = 0; x < 4; ++x) EXPECT_NEAR(rgbAt(grown, x, 0)[1], expected[x], 1.0) << x;
}

TEST(Resample, SidesAboveTheLimitShrinkToIt) {
  PngImage image = gradient(40, 20, 3);
  PngImage shrunk = resampleToPowerOfTwo(image, 16);
  ASSERT_EQ(shrunk.width, 16);
  ASSERT_EQ(shrunk.height, 16);
  // Shrinking samples between source pixels, so the corners move by under two source pixels.
  const int step = 255 * 2 / 19;
  EXPECT_NEAR(rgbAt(shrunk, 0, 0)[0], 255, step);
  EXPECT_NEAR(rgbAt(shrunk, 15, 0)[0], 0, step);
  EXPECT_NEAR(rgbAt(shrunk, 0, 0)[2], 0, step);
  EXPECT_NEAR(rgbAt(shrunk, 0, 15)[2], 255, step);
}

TEST(Resample, MalformedImagesComeBackEmpty) {
  PngImage shortPixels{3, 3, 3, std::vector<unsigned char>(26)};
  PngImage twoChannels{3, 3, 2, std::vector<unsigned char>(18)};
  for (const PngImage& bad : {shortPixels, twoChannels, PngImage{}}) {
    EXPECT_TRUE(resampleToPowerOfTwo(bad, 64).pixels.empty());
  }
}

}  // namespace

namespace {
PngImage transposed(const PngImage& image) {
  PngImage out{image.height, image.width, image.channels, {}};
  out.pixels.resize(image.pixels.size());
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x)
      for (int c = 0; c < image.channels; ++c)
        out.pixels[(static_cast<std::size_t>(x) * out.width + y) * out.channels + c] =
            image.pixels[(static_cast<std::size_t>(y) * image.width + x) * image.channels + c];
  return out;
}
}  // namespace

// Stretching only the height (the game's 1024 x 768 pictures) takes a row-blending shortcut; it
// must give exactly what stretching only the width gives on the transposed picture.
TEST(Resample, HeightOnlyStretchMatchesTheTransposedWidthStretch) {
  PngImage noisy{8, 3, 3, {}};
  unsigned state = 12345;
  for (int i = 0; i < 8 * 3 * 3; ++i) {
    state = state * 1103515245u + 12345u;
    noisy.pixels.push_back(static_cast<unsigned char>(state >> 16));
  }
  const PngImage tall = resampleToPowerOfTwo(noisy, 4096);
  ASSERT_EQ(tall.width, 8);
  ASSERT_EQ(tall.height, 4);
  const PngImage wide = resampleToPowerOfTwo(transposed(noisy), 4096);
  EXPECT_EQ(tall.pixels, transposed(wide).pixels);
}
