// The kind-route search turns a route that wins only with exact timing into one that wins with a
// person's timing, keeps winning unjittered, and starts only from a route that wins.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "tools/solver/KindRouteSearch.h"
#include "tools/solver/TimingError.h"

namespace {

// The glider starts above the left of a floor of hazards with a three-cell exit in it: one long
// hold of Right that ends at just the right moment lands in the exit.
std::string writeLandingLevel() {
  std::vector<std::string> rows(15, ")                  (");
  rows[0] = ")(((((((((((((((((((";
  rows[8][3] = 'g';
  rows[13] = ")======GGG=========(";
  rows[14] = ")))))))))))))))))))(";
  const std::string path = std::string(SCRATCH_DIR) + "/kind_landing.txt";
  std::ofstream file(path);
  for (const std::string& row : rows) file << row << '\n';
  return path;
}

InputScript parsed(const std::string& text) {
  InputScript script;
  std::string error;
  EXPECT_TRUE(parseScript(text, script, error)) << error;
  return script;
}

int winsAt100(LevelRun& run, const InputScript& script) {
  return measureWinRate(run, script, framesForMilliseconds(100), 200, kTrialSeed).wins;
}

TEST(KindRouteSearch, ASloppyRouteBecomesForgivingAndStillWinsUnjittered) {
  LevelRun run(writeLandingLevel(), 1);
  const InputScript sloppy = parsed("R114");
  ASSERT_EQ(replayScript(run, withRunOut(sloppy)).outcome, Outcome::Won);
  KindSearchLimits limits;
  limits.trials = 30;
  limits.maxCandidates = 60;
  const KindSearchResult found = searchKindRoute(run, sloppy, limits);
  ASSERT_TRUE(found.startWon);
  EXPECT_GT(found.improvements, 0);
  EXPECT_EQ(replayScript(run, withRunOut(found.script)).outcome, Outcome::Won) << formatScript(found.script);
  EXPECT_EQ(found.score.frames, scriptFrames(found.script));
  // The search replays trials from snapshots of earlier routes; fresh replays agree with its score.
  int wins = 0;
  for (int t = 0; t < limits.trials; ++t) {
    TrialRandom random(limits.seed + static_cast<std::uint64_t>(t));
    if (replayScript(run, jitterScript(found.script, framesForMilliseconds(100), random)).outcome == Outcome::Won)
      ++wins;
  }
  EXPECT_EQ(found.score.wins100, wins);
  // Measured on other trials than the search's own, the new route still forgives far more.
  const int before = winsAt100(run, sloppy), after = winsAt100(run, found.script);
  EXPECT_GE(after, before + 40) << formatScript(found.script) << ": " << before << " -> " << after << " of 200";
}

TEST(KindRouteSearch, KeepsAStartThatDoesNotWinAndSearchesNothing) {
  LevelRun run(writeLandingLevel(), 1);
  const InputScript losing = parsed("R60 N6");
  const KindSearchResult found = searchKindRoute(run, losing, KindSearchLimits{});
  EXPECT_FALSE(found.startWon);
  EXPECT_EQ(found.candidates, 0);
  EXPECT_EQ(formatScript(found.script), "R60");  // the trailing rest changes nothing and goes
}

TEST(KindRouteSearch, TheCalmStartRouteWinsWithLongHolds) {
  LevelRun run(writeLandingLevel(), 1);
  InputScript route;
  ASSERT_TRUE(calmFastRoute(run, route));
  EXPECT_EQ(replayScript(run, withRunOut(route)).outcome, Outcome::Won) << formatScript(route);
  // Found on the 0.3 s grid, every hold but the last is a multiple of 18 frames.
  for (std::size_t i = 0; i + 1 < route.size(); ++i) EXPECT_EQ(route[i].frames % 18, 0) << formatScript(route);
}

}  // namespace
