// One frame in each state: what is cleared, simulated, drawn and swapped.
#include <GL/freeglut.h>

#include <fstream>
#include <string>
#include <vector>

#include "app/FrameClock.h"
#include "app/PointerInput.h"
#include "app/StartupSteps.h"
#include "app/ViewCamera.h"
#include "render/ScreenPainter.h"
#include "tests/app/FakePlatform.h"
#include "tests/app/GameDirFixture.h"

class FrameTest : public GameDirFixture {
 protected:
  FrameClock* clock = nullptr;
  void SetUp() override {
    GameDirFixture::SetUp();
    FakePlatform::install();
    // The glider starts at the top of a level with a floor of walls.
    std::ofstream("levels/level1.txt") << "\n          g\n\n\n\n\n\n\n\n\n\n\n\n\n))))))))))))))))))))\n";
    FrameClock::destroy();
    clock = FrameClock::instance();
    clock->initialiseGame();
    ViewCamera::instance()->reshape(1024, 768);
    FakePlatform::clears = 0;
  }
  void TearDown() override {
    FrameClock::destroy();
    resetPlatform();
    GameDirFixture::TearDown();
  }
  void frameAfter(std::uint32_t ms) {
    FakePlatform::nowMs += ms;
    clock->displayFrame();
  }
  static int stackDepth() {
    GLint depth = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    return depth;
  }
};

TEST_F(FrameTest, InitialisationLeavesTheTitleWithLevelOneReady) {
  EXPECT_TRUE(clock->started);
  EXPECT_EQ(GameState, Title);
  ASSERT_NE(currentLevel, nullptr);
  EXPECT_FLOAT_EQ(glider.x, 2.5f);
  EXPECT_FLOAT_EQ(glider.y, 67.5f);
}

TEST_F(FrameTest, InitialisationReportsItsStepsInTheirOrder) {
  static std::vector<std::string> reported;
  reported.clear();
  watchStartupSteps([](const char* step) { reported.emplace_back(step); });
  FrameClock::destroy();
  clock = FrameClock::instance();
  clock->initialiseGame();
  watchStartupSteps(nullptr);
  EXPECT_EQ(reported, (std::vector<std::string>{"screens", "audio", "music", "level"}));
  clock->initialiseGame();
  EXPECT_EQ(reported.size(), 4u) << "nobody watching: nothing reported";
}

TEST_F(FrameTest, ScreensNeverSimulateButTheClockKeepsTicking) {
  const int depth = stackDepth();
  frameAfter(16);
  EXPECT_EQ(FakePlatform::clears, 1);
  EXPECT_EQ(FakePlatform::swaps, 1);
  EXPECT_COLOUR(gltest::pixelAt(512, 384), 10, 200, 10);  // the title picture
  PointerInput::instance()->onButton(0, GLUT_DOWN, 0, 0);
  frameAfter(16);
  EXPECT_COLOUR(gltest::pixelAt(512, 384), 200, 10, 10);  // the instructions
  EXPECT_FLOAT_EQ(glider.y, 67.5f);
  EXPECT_EQ(stackDepth(), depth);

  PointerInput::instance()->onButton(0, GLUT_DOWN, 0, 0);
  FakePlatform::clears = 0;
  frameAfter(16);  // the first frame of play has an ordinary step
  EXPECT_DOUBLE_EQ(clock->deltaSeconds(), 0.016);
  EXPECT_LT(glider.y, 67.5f);
  EXPECT_EQ(FakePlatform::clears, 0) << "play does not clear";
  EXPECT_EQ(stackDepth(), depth);
}

TEST_F(FrameTest, StatesAfterPlayClearAndDrawTheOverlay) {
  GameState = Lost;
  const int depth = stackDepth();
  for (int i = 0; i < 5; ++i) frameAfter(16);
  EXPECT_EQ(FakePlatform::clears, 5);
  EXPECT_COLOUR(gltest::pixelAt(512, 410), 255, 0, 255);
  EXPECT_EQ(stackDepth(), depth);
  GameState = Escaped;
  frameAfter(16);
  EXPECT_COLOUR(gltest::pixelAt(512, 410), 0, 255, 255);
  EXPECT_COLOUR(gltest::pixelAt(100, 100), 255, 255, 255) << "level 1 has no picture: a plain white backdrop";
}

TEST_F(FrameTest, WithNoLevelOnlyTheBackgroundAndEscapePictureShow) {
  FrameClock::destroy();
  resetWorld();
  std::filesystem::remove("levels/level1.txt");
  clock = FrameClock::instance();
  ScreenPainter::instance()->setBackdrop("./images/background.png");
  clock->initialiseGame();
  EXPECT_EQ(GameState, Escaped);
  EXPECT_EQ(currentLevel, nullptr);
  frameAfter(16);
  EXPECT_COLOUR(gltest::pixelAt(512, 410), 0, 255, 255);
  EXPECT_COLOUR(gltest::pixelAt(100, 100), 40, 40, 40);
  EXPECT_COLOUR(gltest::pixelAt(gltest::pixelXOfWorld(2.5), gltest::pixelYOfWorld(67.5)), 40, 40, 40)
      << "no glider";
}
