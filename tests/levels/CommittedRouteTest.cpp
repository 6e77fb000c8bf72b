// Each level's committed route wins as written and forgives a person's timing, and the game gets
// harder as it goes: no level is much easier at +-150 ms than the one before, and each later block
// of five levels is clearly harder than an earlier one. Reads the figures the route measurements kept.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "route/TimingError.h"
#include "tests/levels/ShippedLevels.h"

namespace {

// Least win rate at +-100 ms, percent: for the first levels, which teach the game, and for all.
constexpr int kFirstLevels = 3;
constexpr int kFirstLevelsPercent = 90;
constexpr int kEveryLevelPercent = 50;
// Points a level's +-150 ms win rate may rise over the level before it.
constexpr int kMostRisePoints = 10;
// Blocks of five levels compared by their mean +-150 ms win rates.
constexpr int kBlockLevels = 5;

// The later block's mean must fall at least leastFallPoints below the earlier block's; checked
// once the game has levelsNeeded levels.
struct BlockFall {
  const char* name;
  int earlierFirst, laterFirst;
  int leastFallPoints;
  int levelsNeeded;
};

constexpr BlockFall kBlockFalls[] = {
    {"Levels16To20BelowLevels1To5", 1, 16, 20, 20},
    {"Levels26To30BelowLevels16To20", 16, 26, 10, 30},
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const BlockFall& fall, std::ostream* os) { *os << fall.name; }

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

class LaterBlock : public ::testing::TestWithParam<BlockFall> {};

TEST_P(LaterBlock, IsClearlyHarderThanTheEarlierOne) {
  const BlockFall& fall = GetParam();
  if (shippedLevelCount() < fall.levelsNeeded) GTEST_SKIP() << "fewer than " << fall.levelsNeeded << " levels";
  int earlier = 0, later = 0;
  for (int i = 0; i < kBlockLevels; ++i) {
    earlier += figuresOf(fall.earlierFirst + i).wins150;
    later += figuresOf(fall.laterFirst + i).wins150;
  }
  // The means over five levels, compared in points.
  EXPECT_GE(100 * (earlier - later), fall.leastFallPoints * kBlockLevels * kCheckTrials)
      << "at +-150 ms levels " << fall.earlierFirst << "-" << fall.earlierFirst + kBlockLevels - 1 << " win "
      << percent(earlier, kBlockLevels * kCheckTrials) << "% and levels " << fall.laterFirst << "-"
      << fall.laterFirst + kBlockLevels - 1 << " " << percent(later, kBlockLevels * kCheckTrials)
      << "%: at least " << fall.leastFallPoints << " points less";
}

INSTANTIATE_TEST_SUITE_P(DifficultyCurve, LaterBlock, ::testing::ValuesIn(kBlockFalls),
                         [](const ::testing::TestParamInfo<BlockFall>& info) { return std::string(info.param.name); });

}  // namespace
