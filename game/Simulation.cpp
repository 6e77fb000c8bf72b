#include "game/Simulation.h"

#include <cmath>

#include "game/GameState.h"
#include "game/Glider.h"
#include "game/LevelManager.h"
#include "game/LevelObjectList.h"
#include "game/SteeringControl.h"

int subStepCount(float dt) {
  const double n = std::ceil(static_cast<double>(dt) / kMaxSubStep);
  return n > 1 ? static_cast<int>(n) : 1;
}

void simulateFrame(float dt) {
  if (!currentLevel) return;  // nothing to play until a level file has loaded
  const int n = subStepCount(dt);
  const float step = dt / static_cast<float>(n);
  for (int i = 0; i < n; ++i) {
    currentLevel->interactAll(step, glider);
    currentLevel->updateAll(step);
    steeringControl.apply(step, glider);
    glider.update(step);
    const bool wasAdvancing = levelManager.advancing;
    levelManager.update(step);
    // A new level was brought in: the rest of this frame's time belongs to the old level, and the
    // next frame ends the pause, as it would without sub-steps.
    if (!wasAdvancing && levelManager.advancing) break;
  }
}

void resetPlay() {
  GameState = Playing;
  glider = Glider();
  steeringControl = SteeringControl(true, true);
  levelManager = LevelManager();
}
