// The glider's velocity clamps, contacts, motion in each mode, crash and revive.
#include <gtest/gtest.h>

#include "tests/support/WorldReset.h"

class GliderTest : public ::testing::Test {
 protected:
  void SetUp() override { resetWorld(); }
  Glider& g = glider;
};

TEST_F(GliderTest, ChangeVelocityClampsBothComponentsOnEveryCall) {
  g.changeVelocity(20, 0);
  EXPECT_FLOAT_EQ(g.vx, 15);
  g.changeVelocity(-40, 0);
  EXPECT_FLOAT_EQ(g.vx, -15);
  g.changeVelocity(0, 10);
  EXPECT_FLOAT_EQ(g.vy, 4) << "not lifted: climb capped at 4";
  g.changeVelocity(0, -20);
  EXPECT_FLOAT_EQ(g.vy, -8);

  g = Glider();
  g.lifted = true;
  g.changeVelocity(0, 10);
  EXPECT_FLOAT_EQ(g.vy, 10);
  g.changeVelocity(0, 10);
  EXPECT_FLOAT_EQ(g.vy, 12) << "lifted: climb capped at 12";

  // Leaving the lift: the first change of any component cuts the climb back to 4.
  g.lifted = false;
  g.changeVelocity(1, 0);
  EXPECT_FLOAT_EQ(g.vy, 4);
}

TEST_F(GliderTest, SetContactBlocksOneDirectionAndStopsThatAxis) {
  struct Case {
    bool horizontal, positive;
    bool Glider::*flag;
    bool zeroesX;
  } cases[] = {
      {true, true, &Glider::blockedRight, true},
      {true, false, &Glider::blockedLeft, true},
      {false, true, &Glider::blockedUp, false},
      {false, false, &Glider::blockedDown, false},
  };
  for (const Case& c : cases) {
    g = Glider();
    g.vx = 3;
    g.vy = -2;
    g.setContact(c.horizontal, c.positive);
    EXPECT_TRUE(g.*c.flag);
    EXPECT_EQ(g.blockedRight + g.blockedLeft + g.blockedUp + g.blockedDown, 1);
    EXPECT_FLOAT_EQ(g.vx, c.zeroesX ? 0 : 3);
    EXPECT_FLOAT_EQ(g.vy, c.zeroesX ? -2 : 0);
  }
}

TEST_F(GliderTest, FlyingUpdateMovesUnlessBlockedAndClearsFlags) {
  g.vx = 10;
  g.vy = -4;
  g.update(0.5f);
  EXPECT_FLOAT_EQ(g.x, 5);
  EXPECT_FLOAT_EQ(g.y, -2);

  g.blockedRight = true;
  g.blockedDown = true;
  g.lifted = true;
  g.vx = 10;  // raised again after the contact: still no move this step
  g.update(0.5f);
  EXPECT_FLOAT_EQ(g.x, 5);
  EXPECT_FLOAT_EQ(g.y, -2);
  EXPECT_FALSE(g.blockedRight || g.blockedDown || g.lifted);

  g.update(0.5f);  // the next step moves normally
  EXPECT_FLOAT_EQ(g.x, 10);
  EXPECT_FLOAT_EQ(g.y, -4);

  // A block in the other direction does not hold a move.
  g.blockedLeft = true;
  g.blockedUp = true;
  g.update(0.5f);
  EXPECT_FLOAT_EQ(g.x, 15);
}

TEST_F(GliderTest, TiltFollowsClimbAndDescentWithinBounds) {
  g.vy = 1;
  g.update(0.5f);
  EXPECT_FLOAT_EQ(g.tilt, 6) << "12 degrees a second";
  for (int i = 0; i < 3; ++i) g.update(1.0f);
  EXPECT_FLOAT_EQ(g.tilt, 30);
  g.vy = 0;
  g.update(1.0f);
  EXPECT_FLOAT_EQ(g.tilt, 30) << "level flight keeps the tilt";
  g.vy = -1;
  for (int i = 0; i < 10; ++i) g.update(1.0f);
  EXPECT_FLOAT_EQ(g.tilt, -30);
}

TEST_F(GliderTest, BurningGliderOnlyFallsAndNosesDown) {
  g.vx = 10;
  g.vy = 3;
  g.crash(Burning);
  EXPECT_EQ(g.mode, Burning);
  EXPECT_EQ(GameState, Lost);
  EXPECT_FLOAT_EQ(g.vx, 0);
  EXPECT_EQ(g.flameFrame, 1);

  g.vx = 5;  // a held arrow still pushes, yet x never changes
  g.update(1.0f);
  EXPECT_FLOAT_EQ(g.x, 0);
  EXPECT_FLOAT_EQ(g.y, 0) << "upward velocity never moves a burning glider";
  EXPECT_FLOAT_EQ(g.tilt, -12) << "noses down whatever the velocity";

  g.vy = -2;
  g.update(1.0f);
  EXPECT_FLOAT_EQ(g.y, -2);
  g.vy = -2;
  g.blockedDown = true;
  g.update(1.0f);
  EXPECT_FLOAT_EQ(g.y, -2);
  EXPECT_FALSE(g.blockedDown);
  for (int i = 0; i < 10; ++i) g.update(1.0f);
  EXPECT_FLOAT_EQ(g.tilt, -60);
}

TEST_F(GliderTest, CrashedGliderIsFrozenAndKeepsItsFlags) {
  g.vy = -3;
  g.tilt = 5;
  g.crash(Crashed);
  g.blockedLeft = true;
  g.update(1.0f);
  EXPECT_FLOAT_EQ(g.y, 0);
  EXPECT_FLOAT_EQ(g.tilt, 5);
  EXPECT_TRUE(g.blockedLeft);
  EXPECT_EQ(g.flameFrame, 0) << "no flame animation when crashed";
}

TEST_F(GliderTest, CrashKeepsTheFirstModeButAlwaysLoses) {
  g.crash(Burning);
  GameState = Playing;
  g.crash(Crashed);
  EXPECT_EQ(g.mode, Burning);
  EXPECT_EQ(GameState, Lost);
}

TEST_F(GliderTest, ReviveRestoresFlightAtRestAndReleasesSteering) {
  g.x = 3;
  g.tilt = -60;
  g.crash(Burning);
  g.vy = -5;
  steeringControl.press(true);
  g.revive();
  EXPECT_EQ(g.mode, Flying);
  EXPECT_FLOAT_EQ(g.vx, 0);
  EXPECT_FLOAT_EQ(g.vy, 0);
  EXPECT_FALSE(steeringControl.steerLeft || steeringControl.steerRight);
  EXPECT_FLOAT_EQ(g.x, 3);
  EXPECT_FLOAT_EQ(g.tilt, -60);
  EXPECT_EQ(GameState, Lost) << "the caller sets the state";

  // First flying step down from a burn's tilt snaps it to -30.
  g.vy = -1;
  g.update(0.01f);
  EXPECT_FLOAT_EQ(g.tilt, -30);
}

TEST_F(GliderTest, FlameAlternatesAndDropsTheExcess) {
  g.crash(Burning);
  g.update(0.2f);
  EXPECT_EQ(g.flameFrame, 1);
  g.update(0.05f);
  EXPECT_EQ(g.flameFrame, 2) << "changes once 0.25 s have gathered";
  EXPECT_FLOAT_EQ(g.flameTimer, 0);

  // With 0.12 s steps the picture changes every third step (0.36 s), not every 0.25 s.
  Glider h;
  h.crash(Burning);
  int changes = 0, last = h.flameFrame;
  for (int i = 0; i < 9; ++i) {
    h.update(0.12f);
    if (h.flameFrame != last) ++changes, last = h.flameFrame;
    EXPECT_EQ(h.flameFrame, (i + 1) / 3 % 2 == 0 ? 1 : 2) << "step " << i;
  }
  EXPECT_EQ(changes, 3);
}

TEST_F(GliderTest, EscapedFreezesMotionButNotTheFlame) {
  g.crash(Burning);
  GameState = Escaped;
  g.vy = -5;
  g.blockedDown = false;
  g.lifted = true;
  g.update(0.3f);
  EXPECT_FLOAT_EQ(g.y, 0);
  EXPECT_TRUE(g.lifted) << "flags are not cleared while escaped";
  EXPECT_EQ(g.flameFrame, 2);
}
