// Time per frame while playing the shipped level with the most objects: the game's whole display
// callback (simulation, drawing, swap) plus glFinish, against a bare frame (clear, swap, glFinish)
// in the same window. The clock advances one 60 Hz frame per frame, as on a display at 60 Hz;
// steering follows a fixed pattern. A crash is restarted between frames, untimed; a frame that
// reached the exit (and so loaded the next level inside it) is left out and the level reloaded.
// Usage: frame_time GAME_DIR [frames]   (default 2000)
#include <GL/freeglut.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/FrameClock.h"
#include "app/PointerInput.h"
#include "bench/BenchStats.h"
#include "bench/GameSession.h"
#include "game/GameState.h"
#include "game/LevelManager.h"
#include "game/LevelObjectList.h"

namespace {

constexpr double kFrameBudgetMs = 1000.0 / 60;
constexpr int kDefaultFrames = 2000;
// The steering pattern, frames: right, coast, left, coast.
constexpr int kPatternRight = 40, kPatternCoast = 20, kPatternLeft = 30;

int busiestLevel() {
  int busiest = 1;
  std::size_t most = 0;
  const int levelCount = perf::shippedLevelCount();
  for (int n = 1; n <= levelCount; ++n) {
    const LevelObjectList level(LevelManager::levelFileName(n));
    if (level.objects.size() > most) most = level.objects.size(), busiest = n;
  }
  std::printf("busiest level: %d (%zu objects)\n", busiest, most);
  return busiest;
}

// Presses and releases the arrows through the game's own key callbacks.
void steer(int frame) {
  const int period = kPatternRight + kPatternCoast + kPatternLeft + kPatternCoast;
  const int at = frame % period;
  PointerInput& input = *PointerInput::instance();
  if (at == 0) input.specialKeyPressed(GLUT_KEY_RIGHT, 0, 0);
  if (at == kPatternRight) input.specialKeyReleased(GLUT_KEY_RIGHT, 0, 0);
  if (at == kPatternRight + kPatternCoast) input.specialKeyPressed(GLUT_KEY_LEFT, 0, 0);
  if (at == kPatternRight + kPatternCoast + kPatternLeft) input.specialKeyReleased(GLUT_KEY_LEFT, 0, 0);
}

void startPlaying(int level) {
  levelManager.loadLevel(level);
  GameState = Playing;
  glFinish();
}

void printFigures(const char* name, const std::vector<double>& ms) {
  std::printf("%-12s median %.3f ms  p99 %.3f ms  max %.3f ms  (%zu frames)\n", name, perf::median(ms),
              perf::percentile(ms, 0.99), perf::percentile(ms, 1.0), ms.size());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: frame_time GAME_DIR [frames]\n");
    return 2;
  }
  const int frames = argc > 2 ? std::atoi(argv[2]) : kDefaultFrames;
  if (frames < 1 || !perf::enterGameDir(argv[1])) return 2;
  perf::startGameInProcess();
  perf::useSteppedClock();

  const int level = busiestLevel();
  startPlaying(level);
  std::vector<double> gameMs, bareMs;
  gameMs.reserve(static_cast<std::size_t>(frames));
  bareMs.reserve(static_cast<std::size_t>(frames));
  int restarts = 0, exits = 0;
  FrameClock& clock = *FrameClock::instance();
  for (int frame = 0; static_cast<int>(gameMs.size()) < frames; ++frame) {
    steer(frame);
    perf::advanceOneFrame();
    const double start = perf::nowMs();
    clock.displayFrame();
    glFinish();
    const double took = perf::nowMs() - start;
    if (levelManager.levelNumber != level) {
      ++exits;  // this frame loaded the next level: not a frame of play
      startPlaying(level);
      continue;
    }
    gameMs.push_back(took);
    if (GameState == Lost) {
      ++restarts;
      PointerInput::instance()->specialKeyPressed(GLUT_KEY_UP, 0, 0);
      glFinish();
    }
  }
  for (int frame = 0; frame < frames; ++frame) {
    const double start = perf::nowMs();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glutSwapBuffers();
    glFinish();
    bareMs.push_back(perf::nowMs() - start);
  }
  std::printf("played %d frames of level %d at 60 Hz steps: %d crashes restarted, %d exits left out\n",
              frames, level, restarts, exits);
  printFigures("game frame", gameMs);
  printFigures("bare frame", bareMs);
  std::printf("median game / bare: %.2f\n", perf::median(gameMs) / perf::median(bareMs));
  const bool pass = perf::reportRatio("frame time (game p99 ms / frame budget ms)",
                                      perf::percentile(gameMs, 0.99), kFrameBudgetMs, 1.0);
  return pass || frames < kDefaultFrames ? 0 : 1;
}
