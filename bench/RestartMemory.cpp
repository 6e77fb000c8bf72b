// Whether restarting a level leaks: restarts the loaded level many times (one frame of play after
// each) and compares resident memory, live GL textures and display lists, and live sound streams
// after the first restart with the same figures after the last.
// Usage: restart_memory GAME_DIR [restarts]   (default 500)
#include <GL/gl.h>

#include <cstdio>
#include <cstdlib>

#include "app/FrameClock.h"
#include "bench/GameSession.h"
#include "game/GameState.h"
#include "game/LevelManager.h"
#include "sound/AudioOutput.h"

namespace {

constexpr int kDefaultRestarts = 500;
// The fire level: its restarts replace both the backdrop and the effect stream.
constexpr int kLevel = 2;
constexpr long kMaxGrowthBytes = 1 << 20;

struct Snapshot {
  long residentBytes;
  perf::GlObjectCount gl;
  long streams;
};

void restartAndPlayAFrame() {
  levelManager.restart();
  perf::advanceOneFrame();
  FrameClock::instance()->displayFrame();
  glFinish();
}

Snapshot snapshot() {
  return {perf::residentBytes(), perf::liveGlObjects(), static_cast<long>(AudioOutput::streamCounts().live())};
}

void print(const char* when, const Snapshot& s) {
  std::printf("%-22s resident %8.2f MiB  textures %3d  lists %3d  sound streams %ld\n", when,
              s.residentBytes / 1048576.0, s.gl.textures, s.gl.lists, s.streams);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: restart_memory GAME_DIR [restarts]\n");
    return 2;
  }
  const int restarts = argc > 2 ? std::atoi(argv[2]) : kDefaultRestarts;
  if (restarts < 1 || !perf::enterGameDir(argv[1])) return 2;
  perf::startGameInProcess();
  perf::useSteppedClock();
  levelManager.loadLevel(kLevel);
  GameState = Playing;

  restartAndPlayAFrame();
  const Snapshot first = snapshot();
  for (int i = 1; i < restarts; ++i) restartAndPlayAFrame();
  const Snapshot last = snapshot();

  print("after 1 restart:", first);
  char label[48];
  std::snprintf(label, sizeof label, "after %d restarts:", restarts);
  print(label, last);
  const long growth = last.residentBytes - first.residentBytes;
  const bool flat = growth <= kMaxGrowthBytes && last.gl.textures == first.gl.textures &&
                    last.gl.lists == first.gl.lists && last.streams == first.streams;
  std::printf("restart memory (level %d): resident growth %+.3f MiB (target <= 1 MiB), GL objects and "
              "streams %s: %s\n",
              kLevel, growth / 1048576.0, last.gl.textures == first.gl.textures && last.gl.lists == first.gl.lists &&
                                                  last.streams == first.streams ? "unchanged" : "CHANGED",
              flat ? "pass" : "FAIL");
  return flat || restarts < kDefaultRestarts ? 0 : 1;
}
