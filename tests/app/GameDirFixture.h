#pragma once
// A GL test in a temporary game directory holding test pictures, with the sprite set built, the
// game's fixed GL state and the game's view: world x -50..50, y 0..75 fill the window.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "render/SpriteSet.h"
#include "tests/support/WorldReset.h"
#include "tests/support/GlWindow.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestImages.h"

class GameDirFixture : public ::testing::Test {
 protected:
  std::filesystem::path oldDir;
  TempDir dir;

  void SetUp() override {
    oldDir = std::filesystem::current_path();
    testimages::writeGameImages(dir.path());
    std::filesystem::current_path(dir.path());
    gltest::ensureWindow();
    glEnable(GL_CULL_FACE);
    glFrontFace(GL_CCW);
    glCullFace(GL_BACK);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glColor4f(1, 1, 1, 1);
    gltest::applyGameView();
    gltest::clear(0, 0, 0);
    resetWorld();
    if (!spriteSet) spriteSet = new SpriteSet();
  }
  void TearDown() override {
    resetWorld();
    std::filesystem::current_path(oldDir);
  }

  // The colour at a world point, under the game's view.
  static std::array<std::uint8_t, 4> colourAt(double x, double y) {
    return gltest::pixelAt(gltest::pixelXOfWorld(x), gltest::pixelYOfWorld(y));
  }
};

// Passes when the colour is within 3 of (r, g, b) in every channel.
inline ::testing::AssertionResult colourNear(const char* expression, const char*, const char*, const char*,
                                             std::array<std::uint8_t, 4> c, int r, int g, int b) {
  if (std::abs(c[0] - r) <= 3 && std::abs(c[1] - g) <= 3 && std::abs(c[2] - b) <= 3)
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << expression << " is " << int(c[0]) << "," << int(c[1]) << ","
                                       << int(c[2]) << ", not " << r << "," << g << "," << b;
}
#define EXPECT_COLOUR(point, r, g, b) EXPECT_PRED_FORMAT4(colourNear, point, r, g, b)
