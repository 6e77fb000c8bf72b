#pragma once
// Puts the game's global objects back to how the program starts, with GameState Playing, and
// deletes the current level. Brings in the headers of those globals.
#include "game/GameState.h"
#include "game/Glider.h"
#include "game/LevelManager.h"
#include "game/LevelObjectList.h"
#include "game/Simulation.h"
#include "game/SteeringControl.h"

inline void resetWorld() {
  delete currentLevel;
  currentLevel = nullptr;
  resetPlay();
}
