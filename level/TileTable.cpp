#include "level/TileTable.h"

#include "game/Block.h"
#include "game/HeatSource.h"

namespace {

struct BlockTile {
  char symbol;
  float width, height;
  BlockKind kind;
  BlockFace faces[3];
  int faceCount;
};

// One block per listed face, all of the same size and kind, in this order.
constexpr BlockTile kBlockTiles[] = {
    {'(', 5, 5, Wall, {Left, Bottom, Top}, 3},
    {')', 5, 5, Wall, {Right, Bottom, Top}, 3},
    {'[', 5, 5, Hazard, {Left, Bottom, Right}, 3},
    {']', 5, 5, Hazard, {Left, Top, Right}, 3},
    {'U', 5, 6, Hazard, {Left, Bottom, Right}, 3},
    {'n', 5, 6, Hazard, {Left, Top, Right}, 3},
    {'H', 5, 6, Hazard, {Left, Right}, 2},
    {'+', 5, 6, Hazard, {Left}, 1},
    {'-', 5, 6, Hazard, {Right}, 1},
    {'=', 6, 5, Hazard, {Top}, 1},
    {'T', 6, 5, Hazard, {Top}, 1},
    {'_', 6, 5, Hazard, {Bottom}, 1},
    {'G', 5, 5, Exit, {Top}, 1},
};

struct HeatTile {
  char symbol;
  float strength;
};
constexpr HeatTile kHeatTiles[] = {{'1', 5}, {'2', 10}, {'3', 2}, {'4', 6}};

const BlockTile* findBlockTile(char c) {
  for (const BlockTile& tile : kBlockTiles)
    if (tile.symbol == c) return &tile;
  return nullptr;
}

const HeatTile* findHeatTile(char c) {
  for (const HeatTile& tile : kHeatTiles)
    if (tile.symbol == c) return &tile;
  return nullptr;
}

}  // namespace

float cellCentreX(int column) { return static_cast<float>(column) * kCellSize + (kGridLeft + kCellSize / 2); }
float cellCentreY(int row) { return (kGridTop - kCellSize / 2) - static_cast<float>(row) * kCellSize; }

float heatStrength(char c) {
  const HeatTile* heat = findHeatTile(c);
  return heat ? heat->strength : 0;
}

bool isTileCharacter(char c) { return c == kStartTile || findBlockTile(c) || findHeatTile(c); }

void buildLevelObjects(const LevelRows& rows, std::vector<LevelObject*>& objects,
                       float& startX, float& startY) {
  for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
    const std::string& row = rows[r];
    for (int c = 0; c < static_cast<int>(row.size()); ++c) {
      const char symbol = row[c];
      const float x = cellCentreX(c);
      const float y = cellCentreY(r);
      if (const BlockTile* tile = findBlockTile(symbol)) {
        for (int i = 0; i < tile->faceCount; ++i)
          objects.push_back(new Block(x, y, tile->width, tile->height, tile->kind, tile->faces[i]));
      } else if (const HeatTile* heat = findHeatTile(symbol)) {
        objects.push_back(new HeatSource(x, y, heat->strength));
      } else if (symbol == kStartTile) {
        startX = x;
        startY = y;
      }
    }
  }
}
