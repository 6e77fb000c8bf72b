// The per-level facts: levels 2 and 3 crackle, levels 2 to 5 have decoration flames, and every
// other number, in or out of the shipped range, has neither; a level keeps only the flames its
// fires back, and the crackle only with one of them.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <memory>
#include <utility>
#include <vector>

#include "game/Block.h"
#include "game/HeatSource.h"
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

namespace {

struct Spot {
  float x, y;
};

// A level's objects: fires of strength 5 at the given centres, and walls at the given centres.
struct Objects {
  std::vector<std::unique_ptr<LevelObject>> owned;
  std::vector<LevelObject*> list;
  explicit Objects(const std::vector<Spot>& fires, const std::vector<Spot>& walls = {}) {
    for (Spot s : fires) owned.push_back(std::make_unique<HeatSource>(s.x, s.y, 5.0f));
    for (Spot s : walls) owned.push_back(std::make_unique<Block>(s.x, s.y, 5.0f, 5.0f, Wall, Top));
    for (auto& o : owned) list.push_back(o.get());
  }
};

// The centres of the facts' drawn flames, in order.
std::vector<std::pair<float, float>> flameCentres(const LevelFacts& facts) {
  std::vector<std::pair<float, float>> centres;
  for (int i = 0; i < facts.flameCount; ++i) centres.emplace_back(facts.flames[i].x, facts.flames[i].y);
  return centres;
}

struct BackingCase {
  const char* name;
  std::int32_t level;
  std::vector<Spot> fires, walls;
  std::vector<std::pair<float, float>> flames;  // centres of the flames kept
  bool fireSound;
};

}  // namespace

TEST(LevelFactsTest, FlamesAndCrackleOnlyWhereAFireBacksThem) {
  const BackingCase cases[] = {
      {"big fire under the flame", 2, {{27.5f, 7.5f}}, {}, {{30.0f, 9.5f}}, true},
      {"big fire beside the flame", 2, {{17.5f, 7.5f}}, {}, {}, false},
      {"no objects", 3, {}, {}, {}, false},
      {"a wall where the fire was", 3, {}, {{37.5f, 7.5f}}, {}, false},
      {"fires on both small flames", 4, {{7.5f, 32.5f}, {-17.5f, 32.5f}}, {},
       {{7.5f, 32.5f}, {-17.5f, 32.5f}}, false},
      {"second flame alone moves up", 5, {{-22.5f, 51.5f}}, {}, {{-22.5f, 51.5f}}, false},
      {"fire just inside the corner", 4, {{9.9f, 34.9f}}, {}, {{7.5f, 32.5f}}, false},
      {"fire on the right edge", 4, {{10.0f, 32.5f}}, {}, {}, false},
      {"fire on the left edge", 4, {{5.0f, 32.5f}}, {}, {}, false},
      {"fire on the top edge", 4, {{7.5f, 35.0f}}, {}, {}, false},
      {"fire on the bottom edge", 4, {{7.5f, 30.0f}}, {}, {}, false},
      {"first flame backed, the other fire away", 5, {{2.5f, 51.5f}, {27.5f, 52.5f}}, {},
       {{2.5f, 51.5f}}, false},
      {"no entry for the number", 1, {{27.5f, 7.5f}}, {}, {}, false},
      {"number past the shipped levels", 31, {{27.5f, 7.5f}}, {}, {}, false},
  };
  for (const BackingCase& c : cases) {
    const Objects objects(c.fires, c.walls);
    const LevelFacts facts = backedLevelFacts(c.level, objects.list);
    EXPECT_EQ(flameCentres(facts), c.flames) << c.name;
    EXPECT_EQ(facts.fireSound, c.fireSound) << c.name;
  }
}
