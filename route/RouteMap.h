#pragma once
// How far the glider is from an exit along the level's open cells, going round walls, hazards
// and fires, so that a search heads for the way out rather than straight at it.
#include <array>

#include "level/Grid.h"

class RouteMap {
 public:
  // Builds the distances from the level's rows (open cells join their eight neighbours).
  explicit RouteMap(const LevelRows& rows);
  // Route length to the nearest exit from the world point (x, y), units; large when none is open.
  float distance(float x, float y) const;

 private:
  std::array<float, kGridColumns * kGridRows> cellDistance_{};
};
