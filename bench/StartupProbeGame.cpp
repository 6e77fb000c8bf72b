// Start-up probe for the game: starts it the way main() does, from the game directory, turns the
// toolkit's main loop until the title picture has been swapped onto the window, waits for GL to
// finish it, and prints "shown". startup_time measures from its fork to that line. Afterwards it
// prints when each step of start-up completed.
// Usage: startup_probe_game GAME_DIR
#include <cstdio>

#include "app/StartupSteps.h"
#include "bench/GameSession.h"
#include "bench/StepTimes.h"
#include "game/GameState.h"

namespace {
perf::StepTimes steps;
}  // namespace

int main(int argc, char** argv) {
  steps.mark("loaded");
  if (argc < 2 || !perf::enterGameDir(argv[1])) return 2;
  watchStartupSteps([](const char* step) { steps.mark(step); });
  perf::startGameInProcess();
  steps.mark("first frame");
  if (GameState != Title) {
    std::fprintf(stderr, "the first frame shown was not the title\n");
    return 1;
  }
  std::printf("shown\n");
  std::fflush(stdout);
  steps.print();
  return 0;
}
