// Start-up probe for the game: starts it the way main() does, from the game directory, turns the
// toolkit's main loop until the title picture has been swapped onto the window, waits for GL to
// finish it, and prints "shown". startup_time measures from its fork to that line.
// Usage: startup_probe_game GAME_DIR
#include <GL/gl.h>

#include <cstdio>

#include "bench/GameSession.h"
#include "game/GameState.h"

int main(int argc, char** argv) {
  if (argc < 2 || !perf::enterGameDir(argv[1])) return 2;
  perf::startGameInProcess();
  glFinish();
  if (GameState != Title) {
    std::fprintf(stderr, "the first frame shown was not the title\n");
    return 1;
  }
  std::printf("shown\n");
  std::fflush(stdout);
  return 0;
}
