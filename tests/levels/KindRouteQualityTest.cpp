// The kind-route search turns a route that wins only with exact timing into one that wins with a
// person's timing, and the new route still wins unjittered. Sixty candidates of thirty trials: a
// few seconds in an optimised build, minutes under the sanitizers, so only the optimised build runs it.
#include <gtest/gtest.h>

#include <string>

#include "level/LevelFile.h"
#include "route/KindRouteSearch.h"
#include "route/TimingError.h"
#include "tests/support/LevelText.h"

namespace {

int winsAt100(LevelRun& run, const InputScript& script) {
  return measureWinRate(run, script, framesForMilliseconds(100), 200, kTrialSeed).wins;
}

TEST(KindRouteSearch, ASloppyRouteBecomesForgivingAndStillWinsUnjittered) {
  LevelRun run(readLevelText(levelText(landingRows())).rows, 1);
  const InputScript sloppy{{Steer::Right, 114}};
  ASSERT_EQ(replayScript(run, withRunOut(sloppy)).outcome, Outcome::Won);
  KindSearchLimits limits;
  limits.trials = 30;
  limits.maxCandidates = 60;
  const KindSearchResult found = searchKindRoute(run, sloppy, limits);
  ASSERT_TRUE(found.startWon);
  EXPECT_GT(found.improvements, 0);
  EXPECT_EQ(replayScript(run, withRunOut(found.script)).outcome, Outcome::Won) << formatScript(found.script);
  // Measured on other trials than the search's own, the new route still forgives far more.
  const int before = winsAt100(run, sloppy), after = winsAt100(run, found.script);
  EXPECT_GE(after, before + 40) << formatScript(found.script) << ": " << before << " -> " << after << " of 200";
}

}  // namespace
