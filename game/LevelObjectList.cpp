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
  indexObjects();
}

LevelObjectList::LevelObjectList(const LevelRows& levelRows) : rows(levelRows) {
  buildLevelObjects(rows, objects, startX, startY);
  indexObjects();
}

LevelObjectList::~LevelObjectList() {
  for (LevelObject* object : objects) delete object;
}

namespace {

// The grid column and row of world (x, y), the row counted from the top; false outside the grid
// (or for a position that is not a number).
bool cellOf(float x, float y, int& column, int& row) {
  const float c = (x - kGridLeft) / kCellSize, r = (kGridTop - y) / kCellSize;
  if (!(c >= 0 && c < kGridColumns && r >= 0 && r < kGridRows)) return false;
  column = static_cast<int>(c);
  row = static_cast<int>(r);
  return true;
}

int clampedCell(float cells, int count) {
  if (!(cells >= 0)) return 0;
  return cells >= count ? count - 1 : static_cast<int>(cells);
}

}  // namespace

void LevelObjectList::indexObjects() {
  nearby_.assign(static_cast<std::size_t>(kGridColumns * kGridRows), {});
  for (std::uint32_t i = 0; i < objects.size(); ++i) {
    if (objects[i]->updates()) updating_.push_back(i);
    float left = 0, bottom = 0, right = 0, top = 0;
    const bool bounded = objects[i]->actsOnlyWithin(left, bottom, right, top);
    // Every cell the closed rectangle touches holds each point strictly inside it.
    const int c0 = bounded ? clampedCell((left - kGridLeft) / kCellSize, kGridColumns) : 0;
    const int c1 = bounded ? clampedCell((right - kGridLeft) / kCellSize, kGridColumns) : kGridColumns - 1;
    const int r0 = bounded ? clampedCell((kGridTop - top) / kCellSize, kGridRows) : 0;
    const int r1 = bounded ? clampedCell((kGridTop - bottom) / kCellSize, kGridRows) : kGridRows - 1;
    for (int r = r0; r <= r1; ++r)
      for (int c = c0; c <= c1; ++c) nearby_[static_cast<std::size_t>(r * kGridColumns + c)].push_back(i);
  }
}

void LevelObjectList::interactAll(float dt, Glider& g) {
  // Objects never move the glider, so the cell it is in holds every object that can act on it.
  int column = 0, row = 0;
  if (!cellOf(g.x, g.y, column, row)) {
    for (LevelObject* object : objects) object->interact(dt, g);
    return;
  }
  for (std::uint32_t i : nearby_[static_cast<std::size_t>(row * kGridColumns + column)]) objects[i]->interact(dt, g);
}

void LevelObjectList::updateAll(float dt) {
  advanceFlameFrame(dt, flameClock, decorFrame);
  if (GameState != Playing) return;
  for (std::uint32_t i : updating_) objects[i]->update(dt);
}

void LevelObjectList::placeGlider(Glider& g) const {
  g.setPosition(startX, startY);
  g.revive();
}
