// The full-view pictures: placement, truncated sizes, alpha use, and backdrops replaced cleanly.
#include <fstream>

#include "render/ScreenPainter.h"
#include "tests/app/GameDirFixture.h"

class ScreenTest : public GameDirFixture {
 protected:
  ScreenPainter& painter = *ScreenPainter::instance();
  void SetUp() override {
    GameDirFixture::SetUp();
    painter.loadImages();
    painter.setBounds(75, 50, 0, -50);
  }
};

TEST_F(ScreenTest, PicturesFillTheLevelArea) {
  painter.drawBackground(0.016f);
  for (auto [x, y] : {std::pair{-49.5, 0.5}, {49.5, 74.5}, {0.0, 37.5}}) EXPECT_COLOUR(colourAt(x, y), 40, 40, 40);
}

TEST_F(ScreenTest, FractionalBoundsDrawAtTheTruncatedSize) {
  painter.setBounds(75, 50, 0, -50.5);  // 100.5 wide: drawn 100 wide, centred at -0.25
  painter.drawBackground(0);
  EXPECT_COLOUR(colourAt(-49.8, 37.5), 40, 40, 40);
  EXPECT_COLOUR(colourAt(49.4, 37.5), 40, 40, 40);
  EXPECT_COLOUR(colourAt(49.85, 37.5), 0, 0, 0);
  gltest::clear(0, 0, 0);
  painter.setBounds(0, 50, 75, -50);  // swapped top and bottom draw the same square
  painter.drawBackground(0);
  EXPECT_COLOUR(colourAt(0, 74.5), 40, 40, 40);
}

TEST_F(ScreenTest, ZeroBoundsDrawNothing) {
  painter.setBounds(0, 0, 0, 0);
  painter.drawTitle();
  painter.drawBackground(0);
  for (auto [x, y] : {std::pair{0.0, 0.1}, {-49.0, 37.5}, {0.1, 0.1}}) EXPECT_COLOUR(colourAt(x, y), 0, 0, 0);
}

TEST_F(ScreenTest, TitleAndInstructionsIgnoreAlphaWhileTheBackdropBlends) {
  gltest::clear(1, 1, 1);
  painter.drawTitle();  // its picture is half transparent green
  EXPECT_COLOUR(colourAt(0, 37.5), 10, 200, 10);
  painter.drawInstructions();
  EXPECT_COLOUR(colourAt(0, 37.5), 200, 10, 10);

  testimages::writeSolid("images/level7bg.png", {0, 0, 255, 128});
  painter.setBackdrop("./images/level7bg.png");
  gltest::clear(1, 1, 1);
  painter.drawBackground(0);
  EXPECT_COLOUR(colourAt(0, 37.5), 127, 127, 255);
}

TEST_F(ScreenTest, ReplacedBackdropsAreDeletedSoRestartsStayFlat) {
  testimages::writeSolid("images/level1bg.png", {0, 200, 0, 255});
  auto liveObjects = [] {
    int count = 0;
    for (GLuint name = 1; name < 2000; ++name) count += glIsList(name) + glIsTexture(name);
    return count;
  };
  painter.setBackdrop("./images/level1bg.png");
  const int before = liveObjects();
  const std::int32_t firstList = painter.backgroundList, firstTexture = painter.backgroundTexture;
  painter.setBackdrop("./images/level1bg.png");
  EXPECT_FALSE(glIsList(static_cast<GLuint>(firstList)) && painter.backgroundList != firstList);
  EXPECT_FALSE(glIsTexture(static_cast<GLuint>(firstTexture)) && painter.backgroundTexture != firstTexture);
  for (int i = 0; i < 200; ++i) painter.setBackdrop("./images/level1bg.png");
  EXPECT_EQ(liveObjects(), before);
  painter.drawBackground(0);
  EXPECT_COLOUR(colourAt(0, 37.5), 0, 200, 0);
}

TEST_F(ScreenTest, EveryBackdropLoadRereadsItsFileAndAFailedOneLeavesAPlainSquare) {
  testimages::writeSolid("images/level2bg.png", {200, 0, 0, 255});
  painter.setBackdrop("./images/level2bg.png");
  testimages::writeSolid("images/level2bg.png", {0, 0, 200, 255});  // the file changed on disk
  painter.setBackdrop("./images/level2bg.png");
  painter.drawBackground(0);
  EXPECT_COLOUR(colourAt(0, 37.5), 0, 0, 200);

  std::ofstream("images/level3bg.png") << "\x89PNG\r\n\x1a\nbroken";
  painter.setBackdrop("./images/level3bg.png");
  gltest::clear(0, 0, 0);
  painter.drawBackground(0);
  EXPECT_COLOUR(colourAt(0, 37.5), 255, 255, 255) << "no trace of the previous picture";

  testimages::writeSolid("images/level4bg.png", {0, 150, 0, 128});  // transparent after opaque
  painter.setBackdrop("./images/level4bg.png");
  gltest::clear(1, 1, 1);
  painter.drawBackground(0);
  EXPECT_COLOUR(colourAt(0, 37.5), 127, 202, 127) << "blended, not drawn opaque";
}

TEST_F(ScreenTest, ADamagedBackdropIsReportedOncePerLoad) {
  testimages::writeSolid("images/level5bg.png", {0, 200, 0, 255});
  painter.setBackdrop("./images/level5bg.png");
  std::ofstream("images/level6bg.png") << "\x89PNG\r\n\x1a\n" << std::string(40, 'x');
  ::testing::internal::CaptureStderr();
  painter.setBackdrop("./images/level6bg.png");  // replacing a good picture
  painter.setBackdrop("./images/level6bg.png");  // replacing the plain square
  const std::string printed = ::testing::internal::GetCapturedStderr();
  size_t lines = 0;
  for (size_t at = printed.find("libpng error: "); at != std::string::npos; at = printed.find("libpng error: ", at + 1))
    ++lines;
  EXPECT_EQ(lines, 2u) << printed;
}
