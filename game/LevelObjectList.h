#pragma once
// The loaded level: its objects in creation order (the order of interaction and drawing), the
// glider's start point, the decoration flames and crackle its fires back, and the flames' clock.
#include <cstdint>
#include <string>
#include <vector>

#include "game/LevelFacts.h"
#include "game/LevelObject.h"
#include "level/Grid.h"

class Glider;

// Where the glider starts in a level that has no start cell: the level's centre.
constexpr float kDefaultStartX = 0.0f;
constexpr float kDefaultStartY = kGridTop / 2;

class LevelObjectList {
 public:
  LevelRows rows;                            // the file's rows as read
  float startX = kDefaultStartX, startY = kDefaultStartY;
  std::vector<LevelObject*> objects;         // owned
  LevelFacts facts = kNoLevelFacts;          // set by the level manager's load; none until then
  float flameClock = 0;
  std::int32_t decorFrame = 1;

  // Reads the level file at fileName. Never fails towards the caller: a missing or short file is
  // reported on standard output and yields whatever was read.
  explicit LevelObjectList(const std::string& fileName);
  // Builds the level from rows already read.
  explicit LevelObjectList(const LevelRows& levelRows);
  ~LevelObjectList();
  LevelObjectList(const LevelObjectList&) = delete;
  LevelObjectList& operator=(const LevelObjectList&) = delete;

  // Every object acts on the glider, in order.
  void interactAll(float dt, Glider& glider);
  // Advances the decoration flames; runs the objects' own updates while playing.
  void updateAll(float dt);
  // Draws the objects and the decoration flames of facts (defined with the rendering code).
  void drawAll() const;
  // Puts the glider at the start point and revives it.
  void placeGlider(Glider& glider) const;

 private:
  // Builds nearby_ and updating_ from the objects, once, at load.
  void indexObjects();

  // For each grid cell, the objects that can act on a glider whose centre is in it, as indices
  // into objects in list order: the blocks whose rectangles reach into the cell and every object
  // that may act anywhere. A step then asks a handful of objects instead of every one, with the
  // same result.
  std::vector<std::vector<std::uint32_t>> nearby_;
  std::vector<std::uint32_t> updating_;  // the objects whose update does something
};
