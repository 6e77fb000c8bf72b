// Every shipped level is well formed and closed, the solver wins it through the game's own
// rules, a fresh replay of the winning keys wins again, and no level is won by holding no key, nor
// from the second level on by holding one key.
#include <gtest/gtest.h>

#include <string>

#include "level/LevelCheck.h"
#include "route/InputScript.h"
#include "level/LevelFile.h"
#include "route/LevelRun.h"
#include "route/LevelSearch.h"
#include "tests/levels/ShippedLevels.h"

namespace {

// Seconds of play with one key held (or none) that must not reach the exit.
constexpr int kIdleSeconds = 60;

class ShippedLevel : public ::testing::TestWithParam<int> {};

TEST_P(ShippedLevel, CheckerFindsNoProblems) {
  const LevelCheck check = checkLevelFile(levelPath(GetParam()));
  EXPECT_TRUE(check.issues.empty()) << check.report(levelPath(GetParam()));
}

TEST_P(ShippedLevel, SolverWinsAndAFreshReplayWinsAgain) {
  const std::string path = levelPath(GetParam());
  InputScript script;
  int frames = 0;
  {
    LevelRun run(readLevelFile(path).rows, GetParam());
    // The search reports its progress every kProgressRuns segments, as the editor shows it.
    SearchLimits limits;
    std::size_t reports = 0, lastReported = 0;
    limits.progress = [&](std::size_t runs) {
      ++reports;
      lastReported = runs;
    };
    const SearchResult result = searchLevel(run, limits);
    ASSERT_TRUE(result.won) << "after " << result.runs << " runs";
    EXPECT_EQ(reports, result.runs / kProgressRuns);
    EXPECT_EQ(lastReported, reports * kProgressRuns);
    // Every state the search met lies inside the level.
    EXPECT_GT(result.extent.minX, -50.0f);
    EXPECT_LT(result.extent.maxX, 50.0f);
    EXPECT_GT(result.extent.minY, 0.0f);
    EXPECT_LT(result.extent.maxY, 75.0f);
    script = result.script;
    frames = result.frames;
    EXPECT_EQ(scriptFrames(script), frames);
  }
  InputScript parsed;
  std::string error;
  ASSERT_TRUE(parseScript(formatScript(script), parsed, error)) << error;
  LevelRun fresh(readLevelFile(path).rows, GetParam());
  const ReplayResult replay = replayScript(fresh, parsed);
  EXPECT_EQ(replay.outcome, Outcome::Won);
  EXPECT_EQ(replay.frames, frames);
}

TEST_P(ShippedLevel, HoldingNoKeyNeverWins) {
  LevelRun run(readLevelFile(levelPath(GetParam())).rows, GetParam());
  const ReplayResult result = replayScript(run, {{Steer::None, kIdleSeconds * kFramesPerSecond}});
  EXPECT_NE(result.outcome, Outcome::Won) << "won after " << result.frames << " frames";
}

TEST_P(ShippedLevel, FromTheSecondLevelHoldingOneKeyNeverWins) {
  if (GetParam() < 2) GTEST_SKIP() << "the first level may be won with one key";
  LevelRun run(readLevelFile(levelPath(GetParam())).rows, GetParam());
  for (Steer key : {Steer::Left, Steer::Right}) {
    const ReplayResult result = replayScript(run, {{key, kIdleSeconds * kFramesPerSecond}});
    EXPECT_NE(result.outcome, Outcome::Won)
        << (key == Steer::Left ? "Left" : "Right") << " held wins after " << result.frames << " frames";
  }
}

INSTANTIATE_TEST_SUITE_P(Levels, ShippedLevel, ::testing::Range(1, shippedLevelCount() + 1),
                         [](const ::testing::TestParamInfo<int>& info) {
                           return "Level" + std::to_string(info.param);
                         });

}  // namespace
