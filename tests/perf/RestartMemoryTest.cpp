// Restarting a level over and over must not grow the game: from the first restart on, the live GL
// textures, display lists and sound streams stay the same and resident memory stays well within
// the 1 MiB the game allows itself (it grows by about 0.1 MiB; half a MiB catches a heap that
// creeps, which a leak or the allocator's own drift would show).
// The game runs in-process from the staged game directory.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include "app/FrameClock.h"
#include "bench/GameSession.h"
#include "game/GameState.h"
#include "game/LevelManager.h"
#include "sound/AudioOutput.h"

namespace {

constexpr int kRestarts = 250;
constexpr long kMaxGrowthBytes = 512 * 1024;

void restartAndPlayAFrame() {
  levelManager.restart();
  perf::advanceOneFrame();
  FrameClock::instance()->displayFrame();
  glFinish();
}

class RestartMemory : public ::testing::TestWithParam<int> {
 protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(perf::enterGameDir(ZARVOLITH_GAME_DIR));
    perf::startGameInProcess();
    perf::useSteppedClock();
  }
};

TEST_P(RestartMemory, RestartsKeepMemoryAndGlObjectsFlat) {
  levelManager.loadLevel(GetParam());
  GameState = Playing;
  restartAndPlayAFrame();
  const long residentBefore = perf::residentBytes();
  const perf::GlObjectCount glBefore = perf::liveGlObjects();
  const std::int64_t streamsBefore = AudioOutput::streamCounts().live();
  ASSERT_GT(residentBefore, 0);

  for (int i = 1; i < kRestarts; ++i) restartAndPlayAFrame();

  EXPECT_LE(perf::residentBytes() - residentBefore, kMaxGrowthBytes)
      << "resident " << residentBefore << " -> " << perf::residentBytes() << " bytes";
  const perf::GlObjectCount glAfter = perf::liveGlObjects();
  EXPECT_EQ(glAfter.textures, glBefore.textures);
  EXPECT_EQ(glAfter.lists, glBefore.lists);
  EXPECT_EQ(AudioOutput::streamCounts().live(), streamsBefore);
}

// Level 1 replaces only its backdrop; level 2 also replaces the fire's effect stream.
INSTANTIATE_TEST_SUITE_P(Levels, RestartMemory, ::testing::Values(1, 2));

}  // namespace
