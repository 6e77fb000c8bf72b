// The staged sprites, screens and icons: sizes, channels and the transparency the game relies on.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "tests/art/PngRead.h"
#include "tests/support/TempDir.h"
#include "tools/art/ArtBuild.h"

namespace {

arttest::Picture staged(const std::string& name) {
  arttest::Picture picture;
  EXPECT_TRUE(arttest::readPng(std::string(ZARVOLITH_IMAGES_DIR) + "/" + name, picture)) << name;
  return picture;
}

TEST(Sprites, ColourSquaresAreSolidAndNamedForTheirColour) {
  const struct {
    const char* name;
    int r, g, b;
  } squares[] = {{"red.png", 255, 0, 0},       {"blue.png", 0, 0, 255},   {"green.png", 0, 255, 0},
                 {"gray.png", 128, 128, 128}, {"white.png", 255, 255, 255}, {"black.png", 0, 0, 0}};
  for (const auto& square : squares) {
    const arttest::Picture p = staged(square.name);
    ASSERT_EQ(p.width, 16) << square.name;
    ASSERT_EQ(p.height, 16) << square.name;
    for (int y = 0; y < p.height; ++y)
      for (int x = 0; x < p.width; ++x) {
        ASSERT_EQ(p.at(x, y, 0), square.r) << square.name;
        ASSERT_EQ(p.at(x, y, 1), square.g) << square.name;
        ASSERT_EQ(p.at(x, y, 2), square.b) << square.name;
      }
  }
}

TEST(Sprites, GlidersAreSevenByFourWithTransparentCornersAndASolidBody) {
  for (const char* name : {"glider.png", "glider_c.png"}) {
    SCOPED_TRACE(name);
    const arttest::Picture p = staged(name);
    ASSERT_TRUE(p.hasAlpha);
    EXPECT_EQ(p.width * 4, p.height * 7);
    for (int x : {0, p.width - 1})
      for (int y : {0, p.height - 1}) EXPECT_EQ(p.at(x, y, 3), 0) << "corner " << x << "," << y;
    int opaque = 0;
    for (int y = 0; y < p.height; ++y)
      for (int x = 0; x < p.width; ++x) opaque += p.at(x, y, 3) == 255;
    EXPECT_GT(opaque, p.width * p.height / 8) << "too little body";
    EXPECT_LT(opaque, p.width * p.height * 3 / 4) << "not a shape on a transparent ground";
  }
  // The intact glider's nose points right: its rightmost opaque pixel is at mid height, not in a
  // corner, and the right edge of the canvas is nearly reached.
  const arttest::Picture glider = staged("glider.png");
  int noseX = -1, noseY = -1;
  for (int x = glider.width - 1; x >= 0 && noseX < 0; --x)
    for (int y = 0; y < glider.height; ++y)
      if (glider.at(x, y, 3) > 128) {
        noseX = x;
        noseY = y;
        break;
      }
  EXPECT_GT(noseX, glider.width * 9 / 10);
  EXPECT_GT(noseY, glider.height / 4);
  EXPECT_LT(noseY, glider.height * 3 / 4);
  // Its body is opaque in the middle.
  EXPECT_EQ(glider.at(glider.width / 2, glider.height / 2 - 4, 3), 255);
}

TEST(Sprites, FlameFramesStandOnTheirBottomCentreAndDiffer) {
  const arttest::Picture one = staged("fire1.png"), two = staged("fire2.png");
  for (const arttest::Picture* p : {&one, &two}) {
    ASSERT_TRUE(p->hasAlpha);
    ASSERT_GT(p->width, 0);
    EXPECT_GT(p->at(p->width / 2, p->height - 1, 3), 200) << "the base sits on the bottom centre";
    EXPECT_EQ(p->at(0, 0, 3), 0);
    EXPECT_EQ(p->at(p->width - 1, 0, 3), 0);
    EXPECT_GT(p->at(p->width / 2, p->height * 3 / 4, 0), 200) << "flames are bright and warm";
  }
  ASSERT_EQ(one.rgba.size(), two.rgba.size());
  EXPECT_NE(one.rgba, two.rgba);
}

TEST(Sprites, HeatTextureIsTranslucentWhiteStreaks) {
  const arttest::Picture heat = staged("heat.png");
  ASSERT_TRUE(heat.hasAlpha);
  int minAlpha = 255, maxAlpha = 0;
  for (int x = 0; x < heat.width; ++x) {
    const int a = heat.at(x, heat.height / 2, 3);
    minAlpha = std::min(minAlpha, a);
    maxAlpha = std::max(maxAlpha, a);
    if (a > 0) {
      EXPECT_EQ(heat.at(x, heat.height / 2, 0), 255) << "white, for the game to tint";
    }
  }
  EXPECT_EQ(minAlpha, 0) << "soft edges";
  EXPECT_GT(maxAlpha, 100) << "visible streaks";
}

TEST(Screens, FullWindowPicturesAreOpaqueAndWindowSized) {
  for (const char* name : {"titlescreen.png", "instructions.png", "background.png"}) {
    const arttest::Picture p = staged(name);
    EXPECT_EQ(p.width, 1024) << name;
    EXPECT_EQ(p.height, 768) << name;
    EXPECT_FALSE(p.hasAlpha) << name << " is drawn without blending";
  }
}

TEST(Screens, PanelsHaveTheAspectOfTheirWorldArea) {
  const arttest::Picture escape = staged("escape.png"), lost = staged("lost.png");
  EXPECT_EQ(escape.width, 4 * escape.height) << "60 x 15 units";
  EXPECT_EQ(lost.width, 2 * lost.height) << "60 x 30 units";
  EXPECT_TRUE(escape.hasAlpha);
  EXPECT_TRUE(lost.hasAlpha);
}

TEST(ArtBuild, WritesEveryPictureAndDropsBackdropsOfRemovedLevels) {
  TempDir dir;
  std::filesystem::create_directories(dir.file("levels"));
  std::filesystem::create_directories(dir.file("images"));
  dir.write("levels/level1.txt", "((((\n");
  dir.write("levels/level2.txt", "");
  dir.write("images/level7bg.png", "old");
  ASSERT_EQ(art::writeAllArt(dir.file("levels"), dir.file("images"), dir.file("icons")), "");
  for (const char* name : {"red.png", "blue.png", "green.png", "gray.png", "white.png", "black.png",
                           "glider.png", "glider_c.png", "fire1.png", "fire2.png", "heat.png",
                           "escape.png", "lost.png", "titlescreen.png", "instructions.png",
                           "background.png", "level1bg.png", "level2bg.png"}) {
    arttest::Picture p;
    EXPECT_TRUE(arttest::readPng(dir.file(std::string("images/") + name), p)) << name;
  }
  EXPECT_FALSE(std::filesystem::exists(dir.file("images/level7bg.png")));
  for (int size : {32, 64, 128, 256}) {
    arttest::Picture icon;
    ASSERT_TRUE(arttest::readPng(dir.file("icons/zarvolith-" + std::to_string(size) + ".png"), icon));
    EXPECT_EQ(icon.width, size);
    EXPECT_EQ(icon.height, size);
    EXPECT_EQ(icon.at(0, 0, 3), 0) << "rounded corners are transparent";
    EXPECT_EQ(icon.at(size / 2, size / 2, 3), 255);
  }
  EXPECT_NE(art::writeAllArt(dir.file("levels"), "/proc/no-such-dir/images", dir.file("icons")), "");
}

}  // namespace
