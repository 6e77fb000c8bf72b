// A fire's lift column, its burn box, its three lift strengths and its plume cycle.
#include <gtest/gtest.h>

#include "game/HeatSource.h"
#include "tests/support/WorldReset.h"

class HeatSourceTest : public ::testing::Test {
 protected:
  void SetUp() override { resetWorld(); }
  Glider& g = glider;
  // A strength-5 fire at (0, 10): lifts up to 50 units away, burns from y 7.5 to 15.
  HeatSource fire{0, 10, 5};
  void placeAt(float x, float y, float vy = 0) {
    g = Glider();
    g.x = x, g.y = y, g.vy = vy;
    GameState = Playing;
  }
};

TEST_F(HeatSourceTest, LiftsInsideTheColumnUpToItsReach) {
  placeAt(0, 59.9f);
  fire.interact(0.01f, g);
  EXPECT_TRUE(g.lifted);
  placeAt(0, 60.0f);  // exactly strength * 10 away: out of reach
  fire.interact(0.01f, g);
  EXPECT_FALSE(g.lifted);
  placeAt(4, 59.9f);  // 4 across makes the distance above 50
  fire.interact(0.01f, g);
  EXPECT_FALSE(g.lifted);
}

TEST_F(HeatSourceTest, ColumnLimitsBelowAndAcross) {
  placeAt(0, 7.5f);  // exactly 2.5 below: still acts
  fire.interact(0.01f, g);
  EXPECT_TRUE(g.lifted);
  placeAt(0, 7.49f);
  fire.interact(0.01f, g);
  EXPECT_FALSE(g.lifted);
  placeAt(5, 30);  // exactly 5 across: nothing
  fire.interact(0.01f, g);
  EXPECT_FALSE(g.lifted);
  placeAt(4.99f, 30);
  fire.interact(0.01f, g);
  EXPECT_TRUE(g.lifted);
  placeAt(-4.99f, 30);
  fire.interact(0.01f, g);
  EXPECT_TRUE(g.lifted);
}

TEST_F(HeatSourceTest, BurnsInsideItsBoxOnly) {
  placeAt(1, 8);  // 2 below, 1 across
  fire.interact(0.01f, g);
  EXPECT_EQ(g.mode, Burning);
  EXPECT_EQ(GameState, Lost);
  placeAt(0, 7);  // 3 below
  fire.interact(0.01f, g);
  EXPECT_EQ(g.mode, Flying);
  EXPECT_FALSE(g.lifted);
  placeAt(0, 15);  // exactly 5 above
  fire.interact(0.01f, g);
  EXPECT_EQ(g.mode, Flying);
  placeAt(4.99f, 14.99f);
  fire.interact(0.01f, g);
  EXPECT_EQ(g.mode, Burning);
}

TEST_F(HeatSourceTest, ThreeLiftStrengthsWithExactVelocityChanges) {
  const float dt = 0.01f;
  placeAt(0, 30, -6);  // falling fast: hard brake (20) then moderate (10), times strength
  fire.interact(dt, g);
  EXPECT_NEAR(g.vy, -6 + dt * 5 * 20 + dt * 5 * 10, 1e-5);
  placeAt(0, 30, 1);  // slow climb: moderate
  fire.interact(dt, g);
  EXPECT_NEAR(g.vy, 1 + dt * 5 * 10, 1e-5);
  placeAt(0, 30, 4);  // at 4 or more: weak
  fire.interact(dt, g);
  EXPECT_NEAR(g.vy, 4 + dt * 5 * 5, 1e-5);
  // When the brake alone lifts vy to 4 or more, the second change is the weak one.
  placeAt(0, 30, -4.5f);
  fire.interact(0.1f, g);
  EXPECT_NEAR(g.vy, -4.5f + 0.1f * 5 * 20 + 0.1f * 5 * 5, 1e-5);
}

TEST_F(HeatSourceTest, PhaseWrapsFromItsStartAndDropsTheExcess) {
  placeAt(40, 40);
  EXPECT_FLOAT_EQ(fire.phase, 1.0f);
  fire.interact(0.5f, g);
  EXPECT_FLOAT_EQ(fire.phase, 0.0f) << "the first step wraps the starting phase";
  fire.interact(1.0f, g);
  EXPECT_FLOAT_EQ(fire.phase, 0.3f);
  fire.interact(3.0f, g);
  EXPECT_FLOAT_EQ(fire.phase, 0.0f) << "the excess over 1 is dropped";
}

TEST_F(HeatSourceTest, BurningGliderHeldUpByTheFireStaysPut) {
  SteeringControl steering(true, true);
  placeAt(0, 12, 0);
  for (int i = 0; i < 500; ++i) {
    fire.interact(0.002f, g);
    steering.apply(0.002f, g);
    g.update(0.002f);
  }
  EXPECT_EQ(g.mode, Burning);
  EXPECT_FLOAT_EQ(g.y, 12);
}
