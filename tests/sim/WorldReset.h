#pragma once
// Puts the game's global objects back to how the program starts, with GameState Playing.
#include "game/GameState.h"
#include "game/Glider.h"
#include "game/LevelManager.h"
#include "game/LevelObjectList.h"
#include "game/SteeringControl.h"

inline void resetWorld() {
  GameState = Playing;
  glider = Glider();
  steeringControl = SteeringControl(true, true);
  delete currentLevel;
  currentLevel = nullptr;
  levelManager = LevelManager();
}
