// Each level's committed route wins as written and forgives a person's timing, and the game gets
// harder as it goes: no level is much easier at +-150 ms than the one before, and the last five
// of twenty are clearly harder than the first five. Reads the figures the route measurements kept.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/levels/ShippedLevels.h"
#include "tools/solver/TimingError.h"

namespace {

// Least win rate at +-100 ms, percent: for the first levels, which teach the game, and for all.
constexpr int kFirstLevels = 3;
constexpr int kFirstLevelsPercent = 90;
constexpr int kEveryLevelPercent = 50;
// Points a level's +-150 ms win rate may rise over the level before it.
constexpr int kMostRisePoints = 10;
// Points by which the mean +-150 ms rate of the last five levels of twenty falls below the first five's.
constexpr int kLeastFallPoints = 20;
constexpr int kFullGameLevels = 20;
constexpr int kEndLevels = 5;

double percent(int wins, int trials) { return trials > 0 ? 100.0 * wins / trials : 0.0; }

RouteFigures figuresOf(int n) {
  RouteFigures figures;
  EXPECT_TRUE(readFigures(n, figures)) << "level " << n << "'s route was not measured";
  EXPECT_EQ(figures.trials, kCheckTrials) << "level " << n;
  return figures;
}

class CommittedRoute : public ::testing::TestWithParam<int> {};

TEST_P(CommittedRoute, WinsAsWrittenAndForgivesTiming) {
  const int n = GetParam();
  RouteFigures figures;
  ASSERT_TRUE(readFigures(n, figures)) << "level " << n << "'s route was not measured";
  EXPECT_TRUE(figures.wonExactly) << "the route, then " << kRunOutFrames << " frames of no key, does not win";
  const int least = n <= kFirstLevels ? kFirstLevelsPercent : kEveryLevelPercent;
  EXPECT_GE(100 * figures.wins100, least * figures.trials)
      << "won " << percent(figures.wins100, figures.trials) << "% of " << figures.trials
      << " replays at +-100 ms; needs " << least << "%";
}

INSTANTIATE_TEST_SUITE_P(Levels, CommittedRoute, ::testing::Range(1, shippedLevelCount() + 1),
                         [](const ::testing::TestParamInfo<int>& info) {
                           return "Level" + std::to_string(info.param);
                         });

TEST(DifficultyCurve, EveryLevelFileIsPlayedInOrder) {
  EXPECT_GT(shippedLevelCount(), 0);
  EXPECT_EQ(levelFilesPresent(), shippedLevelCount()) << "a level number is missing: the game stops at the gap";
}

TEST(DifficultyCurve, NoLevelIsMuchEasierThanTheOneBefore) {
  RouteFigures before = figuresOf(1);
  for (int n = 2; n <= shippedLevelCount(); ++n) {
    const RouteFigures figures = figuresOf(n);
    EXPECT_LE(100 * figures.wins150, 100 * before.wins150 + kMostRisePoints * kCheckTrials)
        << "at +-150 ms level " << n << " wins " << percent(figures.wins150, kCheckTrials) << "%, level " << n - 1
        << " only " << percent(before.wins150, kCheckTrials) << "%: at most " << kMostRisePoints << " points more";
    before = figures;
  }
}

TEST(DifficultyCurve, TheLastFiveLevelsAreClearlyHarderThanTheFirstFive) {
  if (shippedLevelCount() < kFullGameLevels) GTEST_SKIP() << "fewer than " << kFullGameLevels << " levels";
  int first = 0, last = 0;
  for (int i = 1; i <= kEndLevels; ++i) {
    first += figuresOf(i).wins150;
    last += figuresOf(kFullGameLevels - kEndLevels + i).wins150;
  }
  // The means over five levels, compared in points.
  EXPECT_GE(100 * (first - last), kLeastFallPoints * kEndLevels * kCheckTrials)
      << "at +-150 ms levels 1-5 win " << percent(first, kEndLevels * kCheckTrials) << "% and levels 16-20 "
      << percent(last, kEndLevels * kCheckTrials) << "%: at least " << kLeastFallPoints << " points less";
}

}  // namespace
