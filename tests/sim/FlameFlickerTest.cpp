// The decoration flames' flicker: the same quarter-second turns as the burning glider's flame,
// kept by the level in every state the frame update runs in.
#include <gtest/gtest.h>

#include "tests/support/WorldReset.h"

TEST(FlameFlickerTest, DecorationFlamesTurnEveryQuarterSecondAndDropTheExcess) {
  for (std::int32_t state : {Playing, LevelExit, Escaped, Lost}) {
    resetWorld();
    ::testing::internal::CaptureStdout();  // the missing file is reported; the level is empty
    LevelObjectList level(::testing::TempDir() + "flicker_no_such_level.txt");
    ::testing::internal::GetCapturedStdout();
    GameState = state;
    EXPECT_EQ(level.decorFrame, 1) << "a new level starts on the first picture";
    level.updateAll(0.125f);
    EXPECT_EQ(level.decorFrame, 1) << state;
    level.updateAll(0.125f);
    EXPECT_EQ(level.decorFrame, 2) << "turns once 0.25 s have gathered, state " << state;
    EXPECT_FLOAT_EQ(level.flameClock, 0);
    level.updateAll(0.4f);
    EXPECT_EQ(level.decorFrame, 1) << state;
    level.updateAll(0.15f);
    EXPECT_EQ(level.decorFrame, 1) << "the 0.15 s over the last turn is dropped, state " << state;
  }
}
