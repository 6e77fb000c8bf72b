// Once a level is loaded, frames of play must not touch the heap: the game, started in-process from
// the staged game directory, plays a fire level with steering for many frames while every
// operator new on the game's thread is counted. Crashes are restarted between frames with counting
// off, so no counted frame contains a level load.
//
// Mesa's software renderer compiles a shader (with LLVM, which allocates) the first time each
// drawing state is used, inside whichever GL call first needs it. That is the driver's one-time
// work, not the game's: a warm-up of uncounted frames of the same play comes first.
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include "app/FrameClock.h"
#include "app/PointerInput.h"
#include "bench/GameSession.h"
#include "game/GameState.h"
#include "game/LevelManager.h"
#include "tests/perf/CountingAllocator.h"

namespace {

constexpr int kCountedFrames = 1000;
constexpr int kWarmUpFrames = 120;
// A level with a big fire: plume, decoration flames and the looping effect stream all run.
constexpr int kLevel = 3;
// The steering pattern, frames: right, coast, left, coast.
constexpr int kRight = 40, kCoast = 20, kLeft = 30;

void steer(int frame) {
  const int at = frame % (kRight + kCoast + kLeft + kCoast);
  PointerInput& input = *PointerInput::instance();
  if (at == 0) input.specialKeyPressed(GLUT_KEY_RIGHT, 0, 0);
  if (at == kRight) input.specialKeyReleased(GLUT_KEY_RIGHT, 0, 0);
  if (at == kRight + kCoast) input.specialKeyPressed(GLUT_KEY_LEFT, 0, 0);
  if (at == kRight + kCoast + kLeft) input.specialKeyReleased(GLUT_KEY_LEFT, 0, 0);
}

class FrameAllocation : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(perf::enterGameDir(ZARVOLITH_GAME_DIR));
    perf::startGameInProcess();
    perf::useSteppedClock();
  }
};

// Guards the measurement itself: an allocation on the counted thread is seen.
TEST_F(FrameAllocation, CounterSeesAnAllocation) {
  perftest::startCounting();
  ::operator delete(::operator new(16));  // a call, so the compiler cannot leave it out
  perftest::stopCounting();
  EXPECT_EQ(perftest::allocationsCounted(), 1);
}

void warmUpDriver() {
  levelManager.loadLevel(kLevel);
  GameState = Playing;
  for (int frame = 0; frame < kWarmUpFrames; ++frame) {
    steer(frame);
    perf::advanceOneFrame();
    FrameClock::instance()->displayFrame();
  }
  PointerInput::instance()->specialKeyReleased(GLUT_KEY_LEFT, 0, 0);
}

TEST_F(FrameAllocation, PlayingALoadedLevelAllocatesNothing) {
  warmUpDriver();
  levelManager.restart();
  FrameClock& clock = *FrameClock::instance();
  std::int64_t allocations = 0;
  int playingFrames = 0, restarts = 0;
  for (int frame = 0; frame < kCountedFrames; ++frame) {
    steer(frame);
    perf::advanceOneFrame();
    if (GameState == Playing) ++playingFrames;
    perftest::startCounting();
    clock.displayFrame();
    perftest::stopCounting();
    allocations += perftest::allocationsCounted();
    // No counted frame may have loaded a level: the exit was never reached.
    ASSERT_EQ(levelManager.levelNumber, kLevel) << "frame " << frame << " reached the exit";
    if (GameState == Lost) {
      ++restarts;
      PointerInput::instance()->specialKeyPressed(GLUT_KEY_UP, 0, 0);  // a load, not counted
    }
  }
  EXPECT_EQ(allocations, 0) << "operator new calls in " << kCountedFrames << " frames";
  // The frames really were play, with the glider flying through most of them.
  EXPECT_GT(playingFrames, kCountedFrames * 9 / 10);
  std::printf("%d frames (%d of them playing), %d crashes restarted, %lld allocations\n", kCountedFrames,
              playingFrames, restarts, static_cast<long long>(allocations));
}

}  // namespace
