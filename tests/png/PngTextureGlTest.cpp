// PNG textures in a real GL window: drawn upright and unmirrored, alpha and colour keys blend,
// odd sizes become single-level power-of-two textures, and bad files leave nothing bound.
#include "render/PngTexture.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "tests/png/PngTestFiles.h"
#include "tests/support/TempDir.h"
#include "tests/support/GlWindow.h"

namespace {

using pngtest::EncodeOptions;
using Colour = std::array<int, 4>;

// Where the test quad goes, in window pixels from the top-left corner.
constexpr float kQuadLeft = 256.0f;
constexpr float kQuadTop = 128.0f;
constexpr float kQuadSize = 512.0f;
constexpr int kTolerance = 3;

// A 4x4 picture made of four 2x2 quadrants of the given colours (RGB or RGBA samples).
std::vector<int> quadrants(const std::vector<int>& topLeft, const std::vector<int>& topRight,
                           const std::vector<int>& bottomLeft, const std::vector<int>& bottomRight) {
  std::vector<int> samples;
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 4; ++x) {
      const std::vector<int>& colour =
          y < 2 ? (x < 2 ? topLeft : topRight) : (x < 2 ? bottomLeft : bottomRight);
      samples.insert(samples.end(), colour.begin(), colour.end());
    }
  }
  return samples;
}

// The window pixel at the middle of a quadrant of the drawn quad (column and row 0 or 1).
std::array<std::uint8_t, 4> quadrantPixel(int column, int row) {
  float quarter = kQuadSize / 4.0f;
  return gltest::pixelAt(static_cast<int>(kQuadLeft + quarter * static_cast<float>(1 + 2 * column)),
                         static_cast<int>(kQuadTop + quarter * static_cast<float>(1 + 2 * row)));
}

void expectColour(const std::array<std::uint8_t, 4>& pixel, int r, int g, int b) {
  EXPECT_NEAR(pixel[0], r, kTolerance);
  EXPECT_NEAR(pixel[1], g, kTolerance);
  EXPECT_NEAR(pixel[2], b, kTolerance);
}

GLint boundTexture() {
  GLint name = -1;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &name);
  return name;
}

GLint levelParameter(int level, GLenum parameter) {
  GLint value = -1;
  glGetTexLevelParameteriv(GL_TEXTURE_2D, level, parameter, &value);
  return value;
}

class PngTextureGl : public testing::Test {
 protected:
  void SetUp() override {
    gltest::ensureWindow();
    // Window pixels as coordinates, y downwards, so quads land on known pixels.
    glViewport(0, 0, gltest::kWidth, gltest::kHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, gltest::kWidth, gltest::kHeight, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glDisable(GL_LIGHTING);
  }

  void TearDown() override {
    for (GLuint name : textures_) glDeleteTextures(1, &name);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  }

  // Writes the picture to a file, loads it and insists on success.
  GLuint load(int width, int height, const std::vector<int>& samples, const EncodeOptions& options) {
    std::string path = dir_.write("texture.png", pngtest::encodePng(width, height, samples, options));
    GLuint name = loadPngTexture(path.c_str());
    EXPECT_NE(name, 0u);
    if (name != 0) textures_.push_back(name);
    return name;
  }

  // Draws the texture over the test area, texture t = 0 along the top edge as sprites do.
  void drawQuad(GLuint name) {
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f);
    glVertex2f(kQuadLeft, kQuadTop);
    glTexCoord2f(1.0f, 0.0f);
    glVertex2f(kQuadLeft + kQuadSize, kQuadTop);
    glTexCoord2f(1.0f, 1.0f);
    glVertex2f(kQuadLeft + kQuadSize, kQuadTop + kQuadSize);
    glTexCoord2f(0.0f, 1.0f);
    glVertex2f(kQuadLeft, kQuadTop + kQuadSize);
    glEnd();
    glDisable(GL_TEXTURE_2D);
  }

  void drawBlended(GLuint name) {
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    drawQuad(name);
    glDisable(GL_BLEND);
  }

  TempDir dir_;
  std::vector<GLuint> textures_;
};

EncodeOptions colourType(int type) {
  EncodeOptions options;
  options.colorType = type;
  return options;
}

TEST_F(PngTextureGl, QuadrantsDrawUprightAndUnmirrored) {
  GLuint name = load(4, 4,
                     quadrants({255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 0}),
                     colourType(PNG_COLOR_TYPE_RGB));
  gltest::clear(0.0f, 0.0f, 0.0f);
  drawQuad(name);
  expectColour(quadrantPixel(0, 0), 255, 0, 0);
  expectColour(quadrantPixel(1, 0), 0, 255, 0);
  expectColour(quadrantPixel(0, 1), 0, 0, 255);
  expectColour(quadrantPixel(1, 1), 255, 255, 0);
  // Outside the quad the clear colour is untouched.
  expectColour(gltest::pixelAt(static_cast<int>(kQuadLeft) - 10, static_cast<int>(kQuadTop) + 10), 0, 0, 0);
}

TEST_F(PngTextureGl, AlphaChannelBlendsOverTheBackground) {
  GLuint name = load(4, 4,
                     quadrants({255, 0, 0, 255}, {255, 0, 0, 128}, {255, 0, 0, 0}, {0, 255, 0, 64}),
                     colourType(PNG_COLOR_TYPE_RGBA));
  gltest::clear(0.0f, 0.0f, 1.0f);
  drawBlended(name);
  expectColour(quadrantPixel(0, 0), 255, 0, 0);
  expectColour(quadrantPixel(1, 0), 128, 0, 127);
  expectColour(quadrantPixel(0, 1), 0, 0, 255);
  expectColour(quadrantPixel(1, 1), 0, 64, 191);
}

TEST_F(PngTextureGl, TrnsTransparencyShowsTheBackground) {
  EncodeOptions keyed = colourType(PNG_COLOR_TYPE_RGB);
  keyed.transparentKey = true;
  keyed.key.red = 255;
  keyed.key.blue = 255;
  EncodeOptions palette = colourType(PNG_COLOR_TYPE_PALETTE);
  palette.palette = {{255, 0, 255}, {255, 0, 0}, {0, 255, 0}, {255, 255, 255}};
  palette.paletteAlpha = {0};
  const std::pair<EncodeOptions, std::vector<int>> files[] = {
      {keyed, quadrants({255, 0, 255}, {255, 0, 0}, {0, 255, 0}, {255, 255, 255})},
      {palette, quadrants({0}, {1}, {2}, {3})},
  };
  for (const auto& [options, samples] : files) {
    SCOPED_TRACE(options.colorType);
    GLuint name = load(4, 4, samples, options);
    gltest::clear(0.0f, 0.0f, 0.5f);
    drawBlended(name);
    expectColour(quadrantPixel(0, 0), 0, 0, 128);
    expectColour(quadrantPixel(1, 0), 255, 0, 0);
    expectColour(quadrantPixel(0, 1), 0, 255, 0);
    expectColour(quadrantPixel(1, 1), 255, 255, 255);
  }
}

// Linear minification samples level 0 only, so no smaller level is stored.
TEST_F(PngTextureGl, OddSizeBecomesOnePowerOfTwoLevel) {
  std::vector<int> samples(3 * 5 * 4, 200);
  GLuint name = load(3, 5, samples, colourType(PNG_COLOR_TYPE_RGBA));
  glBindTexture(GL_TEXTURE_2D, name);
  EXPECT_EQ(levelParameter(0, GL_TEXTURE_WIDTH), 4);
  EXPECT_EQ(levelParameter(0, GL_TEXTURE_HEIGHT), 8);
  EXPECT_EQ(levelParameter(0, GL_TEXTURE_INTERNAL_FORMAT), GL_RGBA);
  EXPECT_EQ(levelParameter(1, GL_TEXTURE_WIDTH), 0);
}

TEST_F(PngTextureGl, TheTopRowIsUploadedFirstWithTightRows) {
  // 2x2 RGB has 6-byte rows, so any unpack padding would shift the second row.
  glPixelStorei(GL_UNPACK_ALIGNMENT, 8);
  GLuint name = load(2, 2, {0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255},
                     colourType(PNG_COLOR_TYPE_RGB));
  GLint alignment = 0;
  glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
  EXPECT_EQ(alignment, 8);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);

  glBindTexture(GL_TEXTURE_2D, name);
  EXPECT_EQ(levelParameter(0, GL_TEXTURE_INTERNAL_FORMAT), GL_RGB);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  std::vector<unsigned char> level0(12);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, level0.data());
  EXPECT_EQ(level0, (std::vector<unsigned char>{0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255}));
}

TEST_F(PngTextureGl, ClampsAtEdgesAndFiltersLinearly) {
  GLuint name = load(2, 2, std::vector<int>(12, 9), colourType(PNG_COLOR_TYPE_RGB));
  glBindTexture(GL_TEXTURE_2D, name);
  const std::pair<GLenum, GLint> expected[] = {{GL_TEXTURE_WRAP_S, GL_CLAMP},
                                               {GL_TEXTURE_WRAP_T, GL_CLAMP},
                                               {GL_TEXTURE_MIN_FILTER, GL_LINEAR},
                                               {GL_TEXTURE_MAG_FILTER, GL_LINEAR}};
  for (auto [parameter, value] : expected) {
    GLint actual = -1;
    glGetTexParameteriv(GL_TEXTURE_2D, parameter, &actual);
    EXPECT_EQ(actual, value) << std::hex << parameter;
  }
}

TEST_F(PngTextureGl, LoadLeavesTheNewTextureBound) {
  GLuint name = load(1, 1, {1, 2, 3}, colourType(PNG_COLOR_TYPE_RGB));
  EXPECT_EQ(boundTexture(), static_cast<GLint>(name));
}

TEST_F(PngTextureGl, UndecodableFilesGiveZeroAndLeaveNothingBound) {
  std::vector<unsigned char> good =
      pngtest::encodePng(4, 4, std::vector<int>(48, 100), colourType(PNG_COLOR_TYPE_RGB));
  std::vector<unsigned char> truncated(good.begin(), good.begin() + static_cast<long>(good.size() / 2));
  const std::string paths[] = {dir_.file("missing.png"), dir_.write("truncated.png", truncated),
                               dir_.write("text.png", std::string("not png"))};
  for (const std::string& path : paths) {
    SCOPED_TRACE(path);
    load(1, 1, {1, 2, 3}, colourType(PNG_COLOR_TYPE_RGB));  // something bound beforehand
    testing::internal::CaptureStderr();
    EXPECT_EQ(loadPngTexture(path.c_str()), 0u);
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(boundTexture(), 0);
  }
}

}  // namespace
