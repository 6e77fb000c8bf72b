// The frame step: measured in whole milliseconds, capped at 0.12 s with a clear, wrap-safe.
#include <gtest/gtest.h>

#include "app/FrameClock.h"
#include "tests/app/FakePlatform.h"

class FrameClockTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FakePlatform::install();
    FakePlatform::nowMs = 1000;
    FrameClock::destroy();
    clock = FrameClock::instance();
  }
  void TearDown() override {
    FrameClock::destroy();
    resetPlatform();
  }
  double stepAfter(std::uint32_t ms) {
    FakePlatform::nowMs += ms;
    clock->tick();
    return clock->deltaSeconds();
  }
  FrameClock* clock = nullptr;
};

TEST_F(FrameClockTest, FirstTickMeasuresFromCreation) {
  EXPECT_FALSE(clock->started);
  EXPECT_DOUBLE_EQ(stepAfter(16), 0.016);
}

TEST_F(FrameClockTest, CapBoundaries) {
  EXPECT_DOUBLE_EQ(stepAfter(119), 0.119);
  EXPECT_EQ(FakePlatform::clears, 0);
  EXPECT_DOUBLE_EQ(stepAfter(120), 0.12);
  EXPECT_EQ(FakePlatform::clears, 0) << "120 ms is not more than the cap";
  EXPECT_DOUBLE_EQ(stepAfter(121), 0.12);
  EXPECT_EQ(FakePlatform::clears, 1);
  EXPECT_DOUBLE_EQ(stepAfter(500), 0.12);
  EXPECT_EQ(FakePlatform::clears, 2);
}

TEST_F(FrameClockTest, TwoTicksInTheSameMillisecondGiveZero) {
  stepAfter(10);
  EXPECT_DOUBLE_EQ(stepAfter(0), 0.0);
}

TEST_F(FrameClockTest, CounterWrapStillGivesTheTrueStep) {
  FakePlatform::nowMs = 0xFFFFFFF0u;
  clock->tick();
  FakePlatform::clears = 0;
  FakePlatform::nowMs = 0x00000005u;  // 21 ms later, across the wrap
  clock->tick();
  EXPECT_DOUBLE_EQ(clock->deltaSeconds(), 0.021);
  EXPECT_EQ(FakePlatform::clears, 0);
}

TEST_F(FrameClockTest, InstanceIsCreatedOnceAndRecreatedOnlyAfterDestroy) {
  EXPECT_EQ(FrameClock::instance(), clock);
  FakePlatform::nowMs = 5000;
  FrameClock::destroy();
  FrameClock* fresh = FrameClock::instance();
  EXPECT_EQ(fresh->previousMs, 5000u);
}
