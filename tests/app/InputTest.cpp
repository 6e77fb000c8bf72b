// Every GameState change that input makes, driven through the input handlers the callbacks call.
#include <GL/freeglut.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "app/PointerInput.h"
#include "app/ViewCamera.h"
#include "tests/app/FakePlatform.h"
#include "tests/support/LevelText.h"
#include "tests/support/TempDir.h"
#include "tests/support/WorldReset.h"

namespace fs = std::filesystem;

class InputTest : public ::testing::Test {
 protected:
  PointerInput& input = *PointerInput::instance();
  void SetUp() override {
    FakePlatform::install();
    resetWorld();
    for (auto& state : input.buttonState) state = GLUT_UP;
  }
  void TearDown() override {
    resetWorld();
    resetPlatform();
  }
  void press(int button) { input.onButton(button, GLUT_DOWN, 5, 5); }
  void releaseButton(int button) { input.onButton(button, GLUT_UP, 5, 5); }
};

TEST_F(InputTest, AnyButtonPressLeavesTheTitleThenTheInstructions) {
  for (int button : {0, 1, 2, 3, 4}) {
    GameState = Title;
    FakePlatform::clears = 0;
    press(button);
    EXPECT_EQ(GameState, Instructions) << button;
    releaseButton(button);
    EXPECT_EQ(GameState, Instructions) << "the release changes nothing";
    press(button);
    EXPECT_EQ(GameState, Playing);
    EXPECT_EQ(FakePlatform::clears, 1) << "play starts on cleared buffers";
    releaseButton(button);
    EXPECT_EQ(GameState, Playing);
  }
  EXPECT_EQ(FakePlatform::ends, 0);
}

TEST_F(InputTest, ButtonsEndOnlyALostGame) {
  for (int32_t state : {Playing, LevelExit, Escaped}) {
    GameState = state;
    press(0);
    releaseButton(2);
    EXPECT_EQ(GameState, state);
  }
  EXPECT_EQ(FakePlatform::ends, 0);
  GameState = Lost;
  press(1);
  EXPECT_EQ(FakePlatform::ends, 1);
  releaseButton(1);
  EXPECT_EQ(FakePlatform::ends, 2) << "a release ends it too";
  input.onButton(4, GLUT_DOWN, 0, 0);
  EXPECT_EQ(FakePlatform::ends, 3) << "and the wheel";
}

TEST_F(InputTest, OnlyTheFirstThreeButtonsAreStored) {
  press(2);
  EXPECT_EQ(input.buttonState[2], GLUT_DOWN);
  releaseButton(2);
  EXPECT_EQ(input.buttonState[2], GLUT_UP);
  GameState = Playing;
  input.onButton(3, GLUT_DOWN, 0, 0);
  input.onButton(-1, GLUT_DOWN, 0, 0);
  input.onButton(99, GLUT_UP, 0, 0);
  EXPECT_EQ(input.buttonState[0], GLUT_UP);
  EXPECT_EQ(input.buttonState[1], GLUT_UP);
}

TEST_F(InputTest, EscapeEndsTheGameInEveryState) {
  for (int32_t state : {Title, Instructions, Playing, LevelExit, Escaped, Lost}) {
    GameState = state;
    input.keyPressed(27, 0, 0);
  }
  EXPECT_EQ(FakePlatform::ends, 6);
  input.keyPressed('q', 0, 0);
  input.keyReleased(27, 0, 0);
  EXPECT_EQ(FakePlatform::ends, 6);
}

TEST_F(InputTest, ArrowsSteerOnlyWhilePlaying) {
  input.specialKeyPressed(GLUT_KEY_LEFT, 0, 0);
  EXPECT_TRUE(steeringControl.steerLeft);
  input.specialKeyPressed(GLUT_KEY_RIGHT, 0, 0);
  EXPECT_TRUE(steeringControl.steerRight);
  input.specialKeyReleased(GLUT_KEY_LEFT, 0, 0);
  EXPECT_FALSE(steeringControl.steerLeft || steeringControl.steerRight);
  input.specialKeyPressed(GLUT_KEY_UP, 0, 0);
  EXPECT_EQ(GameState, Playing) << "Up does nothing while playing";

  input.specialKeyPressed(GLUT_KEY_RIGHT, 0, 0);
  GameState = Lost;
  input.specialKeyReleased(GLUT_KEY_RIGHT, 0, 0);
  EXPECT_TRUE(steeringControl.steerRight) << "releases outside play are ignored";
  input.specialKeyPressed(GLUT_KEY_LEFT, 0, 0);
  EXPECT_TRUE(steeringControl.steerRight) << "arrows do nothing when lost";
  for (int32_t state : {Title, Instructions, LevelExit, Escaped}) {
    GameState = state;
    steeringControl.release();
    input.specialKeyPressed(GLUT_KEY_LEFT, 0, 0);
    input.specialKeyPressed(GLUT_KEY_UP, 0, 0);
    EXPECT_FALSE(steeringControl.steerLeft) << state;
    EXPECT_EQ(GameState, state);
  }
}

TEST_F(InputTest, UpRestartsALostLevel) {
  const fs::path old = fs::current_path();
  TempDir dir;
  dir.write("levels/level1.txt", levelText(rowsWith({{2, "   g"}})));
  fs::current_path(dir.path());
  levelManager.loadLevel(1);
  glider.y = 3;
  glider.crash(Crashed);
  steeringControl.press(true);
  input.specialKeyPressed(GLUT_KEY_UP, 0, 0);
  EXPECT_EQ(GameState, Playing);
  EXPECT_EQ(glider.mode, Flying);
  EXPECT_FLOAT_EQ(glider.y, 62.5f);
  EXPECT_FALSE(steeringControl.steerRight) << "the revive releases the held arrow";
  fs::current_path(old);
}

TEST_F(InputTest, PointerPositionsMapToTheWorldAndClampToTheWindow) {
  input.onMove(0, 0);
  EXPECT_FLOAT_EQ(input.worldX, -50);
  EXPECT_FLOAT_EQ(input.worldY, 75);
  input.onMove(512, 384);
  EXPECT_FLOAT_EQ(input.worldX, 0);
  EXPECT_FLOAT_EQ(input.worldY, 37.5f);
  EXPECT_FLOAT_EQ(input.windowX, 0);
  input.onDrag(1024, 768);
  EXPECT_FLOAT_EQ(input.worldX, 50);
  EXPECT_NEAR(input.worldY, 0, 1e-5);
  input.onDrag(-20, 900);
  EXPECT_FLOAT_EQ(input.worldX, -50);
  EXPECT_NEAR(input.worldY, 0, 1e-5);
  EXPECT_FLOAT_EQ(input.windowX, -512);
  EXPECT_FLOAT_EQ(input.windowY, 384);
  input.onMove(100000, -100000);
  EXPECT_FLOAT_EQ(input.worldX, 50);
  EXPECT_FLOAT_EQ(input.worldY, 75);
}
