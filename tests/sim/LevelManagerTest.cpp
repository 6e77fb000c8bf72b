// Progress from level to level in a temporary game directory: advancing, winning, restarting.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "game/Simulation.h"
#include "tests/support/LevelText.h"
#include "tests/support/TempDir.h"
#include "tests/support/WorldReset.h"

namespace fs = std::filesystem;

namespace {

// Records what level loads ask of the screens and the sound.
struct RecordingMedia : LevelMedia {
  std::vector<std::string> backdrops, effects;
  void setBackdrop(const std::string& path) override { backdrops.push_back(path); }
  void playEffect(const std::string& path) override { effects.push_back(path); }
};

// A level whose start cell sits right above an exit: falling reaches it within a second.
std::string exitLevel() { return levelText(rowsWith({{1, "g"}, {3, "G"}})); }

}  // namespace

class LevelManagerTest : public ::testing::Test {
 protected:
  fs::path oldDir;
  TempDir dir;
  RecordingMedia media;

  void SetUp() override {
    resetWorld();
    levelManager.media = &media;
    oldDir = fs::current_path();
    fs::current_path(dir.path());
    for (int n = 1; n <= 3; ++n) writeLevel(n, exitLevel());
  }
  void TearDown() override {
    resetWorld();
    fs::current_path(oldDir);
  }
  void writeLevel(int n, const std::string& text) {
    dir.write("levels/level" + std::to_string(n) + ".txt", text);
  }
  // Runs frames of 1/60 s until the state changes from `from`, at most `limit` frames.
  int framesUntilStateLeaves(int32_t from, int limit = 600) {
    for (int i = 1; i <= limit; ++i) {
      simulateFrame(1.0f / 60);
      if (GameState != from) return i;
    }
    return -1;
  }
};

TEST_F(LevelManagerTest, ExitBringsInTheNextLevelAndTheFollowingUpdatePlays) {
  levelManager.loadLevel(1);
  ASSERT_NE(currentLevel, nullptr);
  ASSERT_GT(framesUntilStateLeaves(Playing), 0);
  // The exit frame already holds the new level, still in LevelExit.
  EXPECT_EQ(GameState, LevelExit);
  EXPECT_EQ(levelManager.levelNumber, 2);
  EXPECT_EQ(media.backdrops.size(), 2u);
  EXPECT_FLOAT_EQ(glider.y, 67.5f) << "placed at level 2's start";
  EXPECT_EQ(media.backdrops.back(), "./images/level2bg.png");
  simulateFrame(1.0f / 60);
  EXPECT_EQ(GameState, Playing);
}

TEST_F(LevelManagerTest, ZeroStepAfterTheLoadStillResumesPlay) {
  levelManager.loadLevel(1);
  GameState = LevelExit;
  levelManager.update(0.0f);
  EXPECT_EQ(levelManager.levelNumber, 2);
  levelManager.update(0.0f);
  EXPECT_EQ(GameState, Playing);
}

TEST_F(LevelManagerTest, EscapedAfterTheLastLevelKeepsTheOldLevel) {
  levelManager.loadLevel(3);
  const LevelObjectList* last = currentLevel;
  GameState = LevelExit;
  levelManager.update(0.016f);
  EXPECT_EQ(GameState, Escaped);
  EXPECT_EQ(levelManager.levelNumber, 4);
  EXPECT_EQ(currentLevel, last);
  levelManager.update(0.016f);  // nothing happens while escaped
  EXPECT_EQ(GameState, Escaped);
  EXPECT_EQ(media.backdrops.size(), 1u);
}

TEST_F(LevelManagerTest, FireLoopOnLevelsTwoAndThreeOnly) {
  for (int n : {1, 2, 3, 2, 1}) levelManager.loadLevel(n);
  EXPECT_EQ(media.effects, (std::vector<std::string>{"", "./audio/fire.mp3", "./audio/fire.mp3",
                                                     "./audio/fire.mp3", ""}));
  GameState = Lost;
  levelManager.loadLevel(3);
  levelManager.restart();
  EXPECT_EQ(media.effects.back(), "./audio/fire.mp3") << "a restart starts the loop again";
  EXPECT_EQ(media.backdrops.back(), "./images/level3bg.png");
  EXPECT_EQ(GameState, Playing);
}

TEST_F(LevelManagerTest, PauseKeptAcrossALossEndsWithoutAnotherLoad) {
  levelManager.loadLevel(1);
  GameState = LevelExit;
  levelManager.update(0.016f);  // loads level 2, pause starts
  ASSERT_EQ(levelManager.levelNumber, 2);
  GameState = Lost;  // lost in the very next step
  levelManager.update(0.016f);
  EXPECT_TRUE(levelManager.advancing);
  levelManager.restart();
  EXPECT_EQ(levelManager.levelNumber, 2);
  GameState = LevelExit;
  levelManager.update(0.016f);  // only ends the pause
  EXPECT_EQ(GameState, Playing);
  EXPECT_EQ(levelManager.levelNumber, 2);
  GameState = LevelExit;
  levelManager.update(0.016f);  // the next exit advances
  EXPECT_EQ(levelManager.levelNumber, 3);
}

TEST_F(LevelManagerTest, RestartAfterTheFileVanishedKeepsTheLevelAndPlays) {
  levelManager.loadLevel(2);
  const LevelObjectList* level = currentLevel;
  glider.x = 12;
  glider.crash(Crashed);
  fs::remove(dir.file("levels/level2.txt"));
  levelManager.restart();
  EXPECT_EQ(GameState, Playing);
  EXPECT_EQ(currentLevel, level);
  EXPECT_EQ(glider.mode, Flying);
  EXPECT_FLOAT_EQ(glider.x, 12) << "revived where it is";
}

TEST_F(LevelManagerTest, TwoDigitLevelNumbers) {
  writeLevel(10, exitLevel());
  levelManager.loadLevel(10);
  ASSERT_NE(currentLevel, nullptr);
  EXPECT_EQ(media.backdrops.back(), "./images/level10bg.png");
  EXPECT_EQ(LevelManager::levelFileName(12), "./levels/level12.txt");
}

TEST_F(LevelManagerTest, MissingFirstLevelEscapesWithNoLevel) {
  fs::remove(dir.file("levels/level1.txt"));
  GameState = Title;
  levelManager.loadLevel(1);
  EXPECT_EQ(GameState, Escaped);
  EXPECT_EQ(currentLevel, nullptr);
  simulateFrame(0.05f);  // nothing to simulate, and no crash
  EXPECT_TRUE(media.backdrops.empty());
}
