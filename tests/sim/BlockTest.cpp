// Walls stop at their guarded face only, hazards wreck on any overlap, exits end the level.
#include <gtest/gtest.h>

#include "game/Block.h"
#include "tests/support/WorldReset.h"

namespace {
// A 5 by 5 block centred at (0, 10): x from -2.5 to 2.5, y from 7.5 to 12.5.
Block wall(BlockFace face) { return Block(0, 10, 5, 5, Wall, face); }
}  // namespace

class BlockTest : public ::testing::Test {
 protected:
  void SetUp() override { resetWorld(); }
  Glider& g = glider;
  void placeAt(float x, float y, float vx, float vy) {
    g = Glider();
    g.x = x, g.y = y, g.vx = vx, g.vy = vy;
  }
};

TEST_F(BlockTest, ACentreOnAnEdgeIsOutside) {
  Block hazard(0, 10, 5, 5, Hazard, Top);
  for (auto [x, y] : {std::pair{-2.5f, 10.0f}, {2.5f, 10.0f}, {0.0f, 7.5f}, {0.0f, 12.5f}}) {
    placeAt(x, y, 0, 0);
    hazard.interact(0.01f, g);
    EXPECT_EQ(g.mode, Flying) << x << "," << y;
    EXPECT_EQ(GameState, Playing);
  }
  placeAt(2.49f, 12.49f, 0, 0);
  hazard.interact(0.01f, g);
  EXPECT_EQ(g.mode, Crashed);
}

struct FaceCase {
  BlockFace face;
  float x, y;      // just inside the guarded face, before the depth offset
  float dx, dy;    // the inward direction
  float vx, vy;    // moving into the face
  bool Glider::*flag;
};

TEST_F(BlockTest, WallFaceStopsOnlyJustInsideAndMovingIntoIt) {
  const FaceCase cases[] = {
      {Left, -2.5f, 10, 1, 0, 5, 0, &Glider::blockedRight},
      {Right, 2.5f, 10, -1, 0, -5, 0, &Glider::blockedLeft},
      {Top, 0, 12.5f, 0, -1, 0, -5, &Glider::blockedDown},
      {Bottom, 0, 7.5f, 0, 1, 0, 5, &Glider::blockedUp},
  };
  for (const FaceCase& c : cases) {
    Block b = wall(c.face);
    placeAt(c.x + 0.02f * c.dx, c.y + 0.02f * c.dy, c.vx, c.vy);
    b.interact(0.01f, g);
    EXPECT_TRUE(g.*c.flag) << "face " << c.face << " at 0.02 inside";
    EXPECT_FLOAT_EQ(c.dx != 0 ? g.vx : g.vy, 0);

    placeAt(c.x + 0.05f * c.dx, c.y + 0.05f * c.dy, c.vx, c.vy);
    b.interact(0.01f, g);
    EXPECT_FALSE(g.*c.flag) << "face " << c.face << " at 0.05 inside";

    placeAt(c.x + 0.02f * c.dx, c.y + 0.02f * c.dy, -c.vx, -c.vy);
    b.interact(0.01f, g);
    EXPECT_FALSE(g.*c.flag) << "face " << c.face << " moving out";
    placeAt(c.x + 0.02f * c.dx, c.y + 0.02f * c.dy, 0, 0);
    b.interact(0.01f, g);
    EXPECT_FALSE(g.*c.flag) << "face " << c.face << " at rest";
  }
}

TEST_F(BlockTest, HazardSetsItsContactThenCrashesFromAnyDirection) {
  Block hazard(0, 10, 5, 6, Hazard, Left);
  placeAt(1, 9, -3, 2);  // deep inside, moving away from the guarded face
  hazard.interact(0.01f, g);
  EXPECT_TRUE(g.blockedRight);
  EXPECT_EQ(g.mode, Crashed);
  EXPECT_EQ(GameState, Lost);
  EXPECT_FLOAT_EQ(g.vx, 0);
}

TEST_F(BlockTest, ExitSetsLevelExitInEveryStateButEscaped) {
  Block exitBlock(0, 10, 5, 5, Exit, Top);
  for (int32_t state : {Playing, LevelExit, Lost, Title, Instructions}) {
    placeAt(0, 10, 3, -3);
    GameState = state;
    exitBlock.interact(0.01f, g);
    EXPECT_EQ(GameState, LevelExit) << "from " << state;
    EXPECT_FLOAT_EQ(g.vx, 3) << "the exit does not stop the glider";
    EXPECT_FALSE(g.blockedDown);
  }
  GameState = Escaped;
  exitBlock.interact(0.01f, g);
  EXPECT_EQ(GameState, Escaped);
}

TEST_F(BlockTest, GliderRestingOnAWallTopStaysThereAndSinksItsNose) {
  Block floor = wall(Top);
  placeAt(0, 12.49f, 0, 0);
  for (int i = 0; i < 5000; ++i) {  // 10 s of 2 ms steps
    floor.interact(0.002f, g);
    steeringControl.apply(0.002f, g);
    g.update(0.002f);
  }
  EXPECT_NEAR(g.y, 12.49f, 0.01f);
  EXPECT_FLOAT_EQ(g.tilt, -30);
}
