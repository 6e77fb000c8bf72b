// The per-level facts: levels 2 and 3 crackle, levels 2 to 5 have decoration flames, and every
// other number, in or out of the shipped range, has neither.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "game/LevelFacts.h"

TEST(LevelFactsTest, OnlyLevelsTwoToFiveHaveFacts) {
  for (std::int32_t n : {2, 3}) EXPECT_TRUE(levelFacts(n).fireSound) << n;
  for (std::int32_t n : {4, 5}) EXPECT_FALSE(levelFacts(n).fireSound) << n;
  EXPECT_EQ(levelFacts(2).flameCount, 1);
  EXPECT_EQ(levelFacts(3).flameCount, 1);
  EXPECT_EQ(levelFacts(4).flameCount, 2);
  EXPECT_EQ(levelFacts(5).flameCount, 2);
  for (std::int32_t n : {std::numeric_limits<std::int32_t>::min(), -2, 0, 1, 6, 10, 11, 20,
                         std::numeric_limits<std::int32_t>::max()}) {
    EXPECT_FALSE(levelFacts(n).fireSound) << n;
    EXPECT_EQ(levelFacts(n).flameCount, 0) << n;
  }
}
