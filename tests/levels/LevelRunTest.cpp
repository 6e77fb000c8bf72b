// A run replays its level as often as asked, also after a win in a directory that holds the next
// level's file, where the level manager replaces the level with the next one.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "tools/solver/InputScript.h"
#include "tools/solver/LevelRun.h"

namespace {

namespace fs = std::filesystem;

// Level 1 is won by falling from the start onto the exit below it; level 2 has no exit at all.
constexpr const char* kFallToExit[15] = {
    ")(((((((((((((((((((", ")        g         (", ")                  (",
    ")                  (", ")                  (", ")                  (",
    ")                  (", ")                  (", ")                  (",
    ")                  (", ")                  (", ")                  (",
    ")                  (", ")                  (", ")))))))))G((((((((((",
};
constexpr const char* kNoExit[15] = {
    ")(((((((((((((((((((", ")        g         (", ")                  (",
    ")                  (", ")                  (", ")                  (",
    ")                  (", ")                  (", ")                  (",
    ")                  (", ")                  (", ")                  (",
    ")                  (", ")                  (", "))))))))))((((((((((",
};

void writeLevel(const fs::path& path, const char* const (&rows)[15]) {
  std::ofstream file(path);
  for (const char* row : rows) file << row << '\n';
}

// Runs the test body from a directory whose ./levels holds levels 1 and 2, as the game's own
// directory does, and goes back to the old working directory afterwards.
class RunBesideTheNextLevel : public ::testing::Test {
 protected:
  void SetUp() override {
    old_ = fs::current_path();
    dir_ = fs::path(SCRATCH_DIR) / "run_beside_next_level";
    fs::create_directories(dir_ / "levels");
    writeLevel(dir_ / "levels" / "level1.txt", kFallToExit);
    writeLevel(dir_ / "levels" / "level2.txt", kNoExit);
    fs::current_path(dir_);
  }
  void TearDown() override { fs::current_path(old_); }

 private:
  fs::path old_, dir_;
};

TEST_F(RunBesideTheNextLevel, EveryReplayPlaysTheRunsOwnLevel) {
  LevelRun run("levels/level1.txt", 1);
  const InputScript fall{{Steer::None, 20 * kFramesPerSecond}};
  for (int replay = 0; replay < 5; ++replay) {
    const ReplayResult result = replayScript(run, fall);
    EXPECT_EQ(result.outcome, Outcome::Won) << "replay " << replay;
  }
  EXPECT_EQ(run.cells()[14], ")))))))))G((((((((((");
  // A branch restored from a snapshot taken before the win plays the same level again.
  run.start();
  const PlaySnapshot atStart = run.snapshot();
  ASSERT_EQ(replayScript(run, fall).outcome, Outcome::Won);
  run.restore(atStart);
  Outcome outcome = Outcome::Playing;
  for (int frame = 0; frame < 20 * kFramesPerSecond && outcome == Outcome::Playing; ++frame)
    outcome = run.frame(Steer::None);
  EXPECT_EQ(outcome, Outcome::Won);
}

}  // namespace
