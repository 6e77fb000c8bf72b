#include "game/LevelObjectList.h"

#include <cstdio>

#include "game/FlameFlicker.h"
#include "game/GameState.h"
#include "game/Glider.h"
#include "level/LevelFile.h"
#include "level/TileTable.h"

LevelObjectList::LevelObjectList(const std::string& fileName) {
  const LevelFile file = readLevelFile(fileName);
  if (!file.problem.empty()) {
    std::fputs("Exception raised loading level: ", stdout);
    std::fputs(file.problem.c_str(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
  }
  rows = file.rows;
  buildLevelObjects(rows, objects, startX, startY);
}

LevelObjectList::LevelObjectList(const LevelRows& levelRows) : rows(levelRows) {
  buildLevelObjects(rows, objects, startX, startY);
}

LevelObjectList::~LevelObjectList() {
  for (LevelObject* object : objects) delete object;
}

void LevelObjectList::interactAll(float dt, Glider& g) {
  for (LevelObject* object : objects) object->interact(dt, g);
}

void LevelObjectList::updateAll(float dt) {
  advanceFlameFrame(dt, flameClock, decorFrame);
  if (GameState != Playing) return;
  for (LevelObject* object : objects) object->update(dt);
}

void LevelObjectList::placeGlider(Glider& g) const {
  g.setPosition(startX, startY);
  g.revive();
}
