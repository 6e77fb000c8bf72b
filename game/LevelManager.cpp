#include "game/LevelManager.h"

#include <fstream>
#include <sstream>

#include "game/GameState.h"
#include "game/LevelFacts.h"
#include "game/Glider.h"
#include "game/LevelObjectList.h"

LevelManager levelManager;
LevelObjectList* currentLevel = nullptr;

namespace {
std::string decimal(std::int32_t n) {
  std::ostringstream text;
  text << n;
  return text.str();
}
}  // namespace

std::string LevelManager::levelFileName(std::int32_t n) { return "./levels/level" + decimal(n) + ".txt"; }

std::string LevelManager::backdropFileName(std::int32_t n) {
  return "./images/level" + decimal(n) + "bg.png";
}

std::string LevelManager::effectFileName(const LevelFacts& facts) {
  return facts.fireSound ? kFireEffectPath : "";
}

bool LevelManager::levelFileExists(std::string path) {
  std::ifstream file(path);
  if (!file.is_open()) return false;
  file.close();
  return !file.fail();
}

void LevelManager::loadLevel(std::int32_t n) {
  levelNumber = n;
  const std::string fileName = levelFileName(n);
  if (!levelFileExists(fileName)) {
    GameState = Escaped;  // no such level: the game is won, and the last level stays
    return;
  }
  delete currentLevel;
  currentLevel = nullptr;
  currentLevel = new LevelObjectList(fileName);
  currentLevel->facts = backedLevelFacts(n, currentLevel->objects);
  currentLevel->placeGlider(glider);
  if (media) {
    media->setBackdrop(backdropFileName(n));
    media->playEffect(effectFileName(currentLevel->facts));
  }
}

void LevelManager::restart() {
  loadLevel(levelNumber);
  glider.revive();
  GameState = Playing;
}

void LevelManager::update(float dt) {
  if (GameState != LevelExit) return;
  if (!advancing) {
    advanceTimer = dt;
    advancing = true;
    if (staysOnExit) return;
    levelNumber = levelNumber + 1;
    loadLevel(levelNumber);
    return;
  }
  if (staysOnExit) return;
  advanceTimer += dt;
  if (advanceTimer >= 0) {
    advancing = false;
    advanceTimer = 0;
    GameState = Playing;
  }
}
