// Full simulation frames per second on a dense level: every cell holds an object.
// Usage: sim_throughput [seconds]   (prints frames/s, sub-steps/s and objects per level)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "game/GameState.h"
#include "game/Glider.h"
#include "game/LevelManager.h"
#include "game/LevelObjectList.h"
#include "game/Simulation.h"
#include "game/SteeringControl.h"

namespace {
// Every tile character in turn, cell after cell, with the start in the middle.
std::string denseLevel() {
  const std::string tiles = "()[]UnH+-=T_G1234";
  std::string text;
  int k = 0;
  for (int r = 0; r < kGridRows; ++r) {
    for (int c = 0; c < kGridColumns; ++c) text += (r == 7 && c == 10) ? 'g' : tiles[k++ % tiles.size()];
    text += '\n';
  }
  return text;
}
}  // namespace

int main(int argc, char** argv) {
  const double seconds = argc > 1 ? std::atof(argv[1]) : 2.0;
  const std::string path = "/tmp/zarvolith_dense_level.txt";
  std::ofstream(path) << denseLevel();
  currentLevel = new LevelObjectList(path);
  const float dt = 1.0f / 60;
  long frames = 0;
  const auto start = std::chrono::steady_clock::now();
  double elapsed = 0;
  while (elapsed < seconds) {
    for (int i = 0; i < 100; ++i) {
      // Keep the glider in play so every object does its full work each step.
      if (GameState != Playing || frames % 600 == 0) {
        GameState = Playing;
        currentLevel->placeGlider(glider);
      }
      simulateFrame(dt);
      ++frames;
    }
    elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  }
  const int subSteps = subStepCount(dt);
  std::printf("dense level: %zu objects\n", currentLevel->objects.size());
  std::printf("simulation frames (1/60 s, %d sub-steps each): %.0f frames/s\n", subSteps, frames / elapsed);
  std::printf("sub-steps: %.0f steps/s\n", frames * subSteps / elapsed);
  delete currentLevel;
  currentLevel = nullptr;
  return 0;
}
