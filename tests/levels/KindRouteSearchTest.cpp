// The kind-route search keeps a score that fresh replays agree with, starts only from a route that
// wins, and finds its own start when given none.
#include <gtest/gtest.h>

#include <string>

#include "level/LevelFile.h"
#include "route/KindRouteSearch.h"
#include "route/TimingError.h"
#include "tests/support/LevelText.h"

namespace {

// The search replays trials from snapshots of earlier routes: a short search's score must agree
// with fresh replays of the trials it names, and its route must still win unjittered.
TEST(KindRouteSearch, ScoresAgreeWithFreshReplays) {
  LevelRun run(readLevelText(levelText(landingRows())).rows, 1);
  KindSearchLimits limits;
  limits.trials = 12;
  limits.maxCandidates = 15;
  const KindSearchResult found = searchKindRoute(run, InputScript{{Steer::Right, 114}}, limits);
  ASSERT_TRUE(found.startWon);
  EXPECT_EQ(found.candidates, limits.maxCandidates);
  EXPECT_GT(found.improvements, 0);  // so that its score comes from resumed trials
  EXPECT_EQ(replayScript(run, withRunOut(found.script)).outcome, Outcome::Won) << formatScript(found.script);
  EXPECT_EQ(found.score.frames, scriptFrames(found.script));
  int wins = 0;
  for (int t = 0; t < limits.trials; ++t) {
    TrialRandom random(limits.seed + static_cast<std::uint64_t>(t));
    if (replayScript(run, jitterScript(found.script, framesForMilliseconds(100), random)).outcome == Outcome::Won)
      ++wins;
  }
  EXPECT_EQ(found.score.wins100, wins);
}

TEST(KindRouteSearch, KeepsAStartThatDoesNotWinAndSearchesNothing) {
  LevelRun run(readLevelText(levelText(landingRows())).rows, 1);
  const InputScript losing{{Steer::Right, 60}, {Steer::None, 6}};
  const KindSearchResult found = searchKindRoute(run, losing, KindSearchLimits{});
  EXPECT_FALSE(found.startWon);
  EXPECT_EQ(found.candidates, 0);
  EXPECT_EQ(formatScript(found.script), "R60 N6");  // kept as given, its closing rest included
}

TEST(KindRouteSearch, TheCalmStartRouteWinsWithLongHolds) {
  LevelRun run(readLevelText(levelText(landingRows())).rows, 1);
  InputScript route;
  ASSERT_TRUE(calmFastRoute(run, route));
  EXPECT_EQ(replayScript(run, withRunOut(route)).outcome, Outcome::Won) << formatScript(route);
  // Found on the 0.3 s grid, every hold but the last is a multiple of 18 frames.
  for (std::size_t i = 0; i + 1 < route.size(); ++i) EXPECT_EQ(route[i].frames % 18, 0) << formatScript(route);
}

}  // namespace
