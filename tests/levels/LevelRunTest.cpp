// A level run replays the same after a win, whether or not ./levels holds a next level: the run
// ends on its own level at the exit and starts that level again, never the next one.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "route/InputScript.h"
#include "game/LevelManager.h"
#include "level/LevelFile.h"
#include "route/LevelRun.h"
#include "tests/support/LevelText.h"
#include "tests/support/TempDir.h"

namespace {

// A sealed level whose exit lies straight below its start, at column `column`.
std::string dropLevel(int column) {
  std::vector<std::string> rows = sealedRows();
  rows[1][static_cast<std::size_t>(column)] = 'g';
  rows[13][static_cast<std::size_t>(column)] = 'G';
  return levelText(rows);
}

// Runs the test inside a scratch directory holding levels/level1.txt and, when asked, level2.txt.
class LevelRunAfterAWin : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    dir_.write("levels/level1.txt", dropLevel(3));
    if (GetParam()) dir_.write("levels/level2.txt", dropLevel(15));
    old_ = std::filesystem::current_path();
    std::filesystem::current_path(dir_.path());
  }
  void TearDown() override { std::filesystem::current_path(old_); }

  TempDir dir_;
  std::filesystem::path old_;
};

TEST_P(LevelRunAfterAWin, StartsItsOwnLevelAgainAndReplaysTheSame) {
  const float startX = 5.0f * 3 - 47.5f;  // the centre of column 3
  const InputScript fall{{Steer::None, 600}};
  std::vector<int> winFrames;
  {
    LevelRun run(readLevelFile("levels/level1.txt").rows, 1);
    for (int replay = 0; replay < 3; ++replay) {
      const ReplayResult result = replayScript(run, fall);
      ASSERT_EQ(result.outcome, Outcome::Won) << "replay " << replay;
      winFrames.push_back(result.frames);
      run.start();
      EXPECT_FLOAT_EQ(run.currentGlider().x, startX) << "after replay " << replay;
      // A snapshot taken after a win restores onto this run's level too.
      const PlaySnapshot atStart = run.snapshot();
      replayScript(run, fall);
      run.restore(atStart);
      EXPECT_EQ(run.frame(Steer::None), Outcome::Playing);
      EXPECT_EQ(run.cells()[1][3], 'g');
    }
    replayScript(run, fall);  // the run ends after a win: its destructor must free the right level
    EXPECT_EQ(run.cells()[1][3], 'g') << "the run's own rows, not the next level's";
    EXPECT_LT(run.currentGlider().y, 20.0f) << "the glider at level 1's exit, not at the next level's start";
    EXPECT_EQ(run.frame(Steer::None), Outcome::Won) << "a won run stays won";
  }
  EXPECT_FALSE(levelManager.staysOnExit) << "once the run is gone, the game advances on an exit again";
  EXPECT_EQ(winFrames[1], winFrames[0]);
  EXPECT_EQ(winFrames[2], winFrames[0]);
  LevelRun fresh(readLevelFile("levels/level1.txt").rows, 1);
  EXPECT_EQ(replayScript(fresh, fall).frames, winFrames[0]);
}

INSTANTIATE_TEST_SUITE_P(NextLevel, LevelRunAfterAWin, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return std::string(info.param ? "Present" : "Absent");
                         });

}  // namespace
