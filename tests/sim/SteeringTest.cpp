// Pressing and releasing the arrows, drag, the coasting dead band, and facing.
#include <gtest/gtest.h>

#include "tests/support/WorldReset.h"

class SteeringTest : public ::testing::Test {
 protected:
  void SetUp() override { resetWorld(); }
  SteeringControl steering{false, true};  // no gravity: horizontal behaviour alone
  Glider& g = glider;
};

TEST_F(SteeringTest, LastPressWinsAndAnyReleaseStopsAll) {
  steering.press(false);
  EXPECT_TRUE(steering.steerLeft);
  steering.press(true);
  EXPECT_TRUE(steering.steerRight);
  EXPECT_FALSE(steering.steerLeft);
  steering.release();  // the Left key coming up, while Right is still held
  EXPECT_FALSE(steering.steerLeft || steering.steerRight);
}

TEST_F(SteeringTest, SteeringAcceleratesWithMotionAndBrakesAgainstIt) {
  steering.press(true);
  g.vx = 1;
  steering.apply(0.1f, g);
  EXPECT_NEAR(g.vx, 1 + 0.75f, 1e-6) << "7.5 units/s² with the motion";
  g.vx = -1;
  steering.apply(0.1f, g);
  EXPECT_NEAR(g.vx, -1 + 1.25f, 1e-6) << "12.5 units/s² against it";
  EXPECT_FALSE(g.facingLeft);
}

TEST_F(SteeringTest, CoastingSlowsOutsideTheDeadBandOnly) {
  g.vx = 0.005f;
  steering.apply(0.016f, g);
  EXPECT_FLOAT_EQ(g.vx, 0.005f);
  g.vx = -0.01f;
  steering.apply(0.016f, g);
  EXPECT_FLOAT_EQ(g.vx, -0.01f) << "the band includes its ends";

  // Long steps carry vx across zero and back: it oscillates instead of settling.
  g.vx = 0.05f;
  steering.apply(0.016f, g);
  EXPECT_NEAR(g.vx, -0.03f, 1e-6);
  steering.apply(0.016f, g);
  EXPECT_NEAR(g.vx, 0.05f, 1e-6);
}

TEST_F(SteeringTest, DragOffKeepsTheSpeed) {
  SteeringControl noDrag(false, false);
  g.vx = 3;
  noDrag.apply(1.0f, g);
  EXPECT_FLOAT_EQ(g.vx, 3);
}

TEST_F(SteeringTest, GravityPullsOnlyWhenNotLifted) {
  SteeringControl withGravity(true, true);
  withGravity.apply(0.5f, g);
  EXPECT_FLOAT_EQ(g.vy, -2);
  g.lifted = true;
  g.vy = 10;
  withGravity.apply(0.5f, g);
  EXPECT_FLOAT_EQ(g.vy, 10);
  g.lifted = false;
  withGravity.apply(0.001f, g);
  EXPECT_FLOAT_EQ(g.vy, 4) << "the pull's velocity change cuts a fast climb to 4";
}

TEST_F(SteeringTest, FacingFollowsTheSteeredDirectionAtOnce) {
  g.vx = 15;
  steering.press(false);
  steering.apply(0.01f, g);
  EXPECT_TRUE(g.facingLeft) << "turns at once, whatever the motion";
  steering.release();
  steering.apply(0.01f, g);
  EXPECT_TRUE(g.facingLeft) << "no steering keeps the facing";
  steering.press(true);
  steering.apply(0.01f, g);
  EXPECT_FALSE(g.facingLeft);
}

TEST_F(SteeringTest, HeldDirectionKeepsPushingACrashedGliderUntilRevive) {
  steeringControl.press(true);
  g.crash(Crashed);
  steeringControl.apply(0.1f, g);
  EXPECT_GT(g.vx, 0);
  g.revive();
  EXPECT_FALSE(steeringControl.steerRight);
}
