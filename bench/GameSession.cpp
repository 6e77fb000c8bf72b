#include "bench/GameSession.h"

#include <GL/freeglut.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "app/FrameClock.h"
#include "app/GameShell.h"
#include "app/Platform.h"
#include "game/LevelManager.h"

namespace perf {
namespace {

int swaps = 0;
std::uint32_t clockMs = 0;
std::uint32_t frameCount = 0;

void countingSwap() {
  glutSwapBuffers();
  ++swaps;
}

std::uint32_t steppedClock() { return clockMs; }

}  // namespace

bool enterGameDir(const char* dir) {
  if (dir == nullptr || ::chdir(dir) != 0) {
    std::fprintf(stderr, "cannot enter the game directory %s\n", dir ? dir : "(none)");
    return false;
  }
  ::setenv("SDL_AUDIODRIVER", "dummy", 0);
  return true;
}

int shippedLevelCount() {
  int n = 0;
  while (LevelManager::levelFileExists(LevelManager::levelFileName(n + 1))) ++n;
  return n;
}

void startGameInProcess() {
  static char name[] = "zarvolith";
  static char* argv[] = {name, nullptr};
  static int argc = 1;
  platform.swapBuffers = countingSwap;
  startGame(&argc, argv);
  while (swaps == 0) {
    glutMainLoopEvent();
    glutPostRedisplay();  // what the game's idle callback asks for between events
  }
}

int swapsShown() { return swaps; }

void useSteppedClock() {
  clockMs = FrameClock::instance()->previousMs;
  platform.elapsedMs = steppedClock;
}

void advanceClock(std::uint32_t ms) { clockMs += ms; }

void advanceOneFrame() {
  ++frameCount;
  advanceClock(frameCount % 3 == 0 ? 16 : 17);  // 17 + 17 + 16 ms per three frames
}

GlObjectCount liveGlObjects() {
  GlObjectCount count;
  for (GLuint name = 1; name <= kProbedNames; ++name) {
    if (glIsTexture(name)) ++count.textures;
    if (glIsList(name)) ++count.lists;
  }
  return count;
}

long residentBytes() {
  std::FILE* file = std::fopen("/proc/self/statm", "r");
  if (file == nullptr) return -1;
  long sizePages = 0, residentPages = 0;
  const int got = std::fscanf(file, "%ld %ld", &sizePages, &residentPages);
  std::fclose(file);
  return got == 2 ? residentPages * ::sysconf(_SC_PAGESIZE) : -1;
}

}  // namespace perf
