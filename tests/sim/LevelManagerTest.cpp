// Progress from level to level in a temporary game directory: advancing, winning, restarting, and
// the flames and crackle each loaded level shows.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "game/LevelFacts.h"
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
std::vector<std::string> exitRows() { return rowsWith({{1, "g"}, {3, "G"}}); }
std::string exitLevel() { return levelText(exitRows()); }

// The exit level with fire characters at the given (row, column) cells.
std::string exitLevelWithFires(std::initializer_list<std::pair<int, int>> cells) {
  std::vector<std::string> rows = exitRows();
  for (const auto& [r, c] : cells) {
    std::string& row = rows[static_cast<std::size_t>(r)];
    if (row.size() <= static_cast<std::size_t>(c)) row.resize(static_cast<std::size_t>(c) + 1, ' ');
    row[static_cast<std::size_t>(c)] = '2';
  }
  return levelText(rows);
}

// A big fire at (27.5, 7.5), under the flames listed for levels 2 and 3.
std::string bigFireLevel() { return exitLevelWithFires({{13, 15}}); }

// Fires a cell or more away from every listed flame: right of level 4's right one and of level
// 5's left one, left of level 2's, and in the top corner above level 3's.
std::string fireAwayLevel() { return exitLevelWithFires({{8, 12}, {4, 6}, {13, 13}, {4, 19}}); }

std::string shippedLevel(int n) {
  std::ifstream file(std::string(SHIPPED_LEVELS_DIR) + "/level" + std::to_string(n) + ".txt");
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

// The facts as one line, for comparing and for failure messages.
std::string describe(const LevelFacts& facts) {
  std::ostringstream text;
  text << (facts.fireSound ? "crackle" : "silent");
  for (int i = 0; i < facts.flameCount; ++i) {
    const DecorationFlame& f = facts.flames[static_cast<std::size_t>(i)];
    text << ", flame " << f.x << "," << f.y << " " << f.width << "x" << f.height;
  }
  return text.str();
}

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
  // Plays the levels from level 1 as the game does, each exit taken at once, until the game is
  // won, and returns what each level showed.
  std::vector<std::string> factsOfEachLevel() {
    std::vector<std::string> shown;
    levelManager.loadLevel(1);
    while (currentLevel && GameState != Escaped && shown.size() < 100) {
      shown.push_back(describe(currentLevel->facts));
      GameState = LevelExit;
      levelManager.update(0.016f);  // the next level, or Escaped
      levelManager.update(0.016f);  // the pause ends
    }
    return shown;
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
  for (int n : {2, 3}) writeLevel(n, bigFireLevel());
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

TEST_F(LevelManagerTest, ShippedLevelsKeepTheirListedFacts) {
  fs::current_path(fs::path(SHIPPED_LEVELS_DIR).parent_path());
  std::vector<int> crackling, flaming;
  int n = 1;
  for (; LevelManager::levelFileExists(LevelManager::levelFileName(n)); ++n) {
    levelManager.loadLevel(n);
    ASSERT_NE(currentLevel, nullptr) << n;
    EXPECT_EQ(describe(currentLevel->facts), describe(levelFacts(n))) << "level " << n;
    EXPECT_EQ(media.effects.back(), levelFacts(n).fireSound ? kFireEffectPath : "") << "level " << n;
    if (!media.effects.back().empty()) crackling.push_back(n);
    if (currentLevel->facts.flameCount > 0) flaming.push_back(n);
  }
  EXPECT_GE(n - 1, 30) << "shipped levels found";
  EXPECT_EQ(crackling, (std::vector<int>{2, 3}));
  EXPECT_EQ(flaming, (std::vector<int>{2, 3, 4, 5}));
}

// A folder of levels played from level 1 to the win: the facts each level shows, which the level
// shown after the last exit keeps, and the effect each load plays.
struct FolderCase {
  const char* name;
  std::vector<std::string> levels;  // level 1 first
  std::vector<const LevelFacts*> shown;
};

TEST_F(LevelManagerTest, EachLevelShowsTheFactsItsFiresBackToTheEnd) {
  const LevelFacts* none = &kNoLevelFacts;
  const std::string bare = exitLevel(), away = fireAwayLevel(), first = shippedLevel(1);
  const FolderCase cases[] = {
      {"no fire anywhere", {bare, bare, bare, bare, bare}, {none, none, none, none, none}},
      {"fires beside the flame spots", {away, away, away, away, away}, {none, none, none, none, none}},
      {"shipped level 1 in every slot", {first, first, first, first, first}, {none, none, none, none, none}},
      {"a player's level 1 alone, its fire under level 2's flame", {bigFireLevel()}, {none}},
      {"a player's big fire under levels 2 and 3's flames",
       {bare, bigFireLevel(), bigFireLevel(), bigFireLevel()},
       {none, &levelFacts(2), &levelFacts(3), none}},
      {"shipped levels 1 to 4, won before level 5's flames",
       {first, shippedLevel(2), shippedLevel(3), shippedLevel(4)},
       {none, &levelFacts(2), &levelFacts(3), &levelFacts(4)}},
  };
  for (const FolderCase& c : cases) {
    resetWorld();
    levelManager.media = &media;
    media = RecordingMedia();
    fs::remove_all(dir.file("levels"));
    for (std::size_t i = 0; i < c.levels.size(); ++i) writeLevel(static_cast<int>(i) + 1, c.levels[i]);
    std::vector<std::string> expected, effects;
    for (const LevelFacts* facts : c.shown) {
      expected.push_back(describe(*facts));
      effects.push_back(facts->fireSound ? kFireEffectPath : "");
    }
    EXPECT_EQ(factsOfEachLevel(), expected) << c.name;
    EXPECT_EQ(media.effects, effects) << c.name;
    ASSERT_EQ(GameState, Escaped) << c.name;
    EXPECT_EQ(levelManager.levelNumber, static_cast<std::int32_t>(c.levels.size()) + 1) << c.name;
    ASSERT_NE(currentLevel, nullptr) << c.name;
    EXPECT_EQ(describe(currentLevel->facts), expected.back()) << c.name << ": the shown level's own";
  }
}
