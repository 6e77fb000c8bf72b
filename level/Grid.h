#pragma once
// The level's grid: 20 columns by 15 rows of square cells, row 0 at the top, covering the world
// from x -50 to 50 and y 0 to 75. A level file gives one row of cell characters per grid row.
#include <array>
#include <string>

constexpr int kGridColumns = 20;
constexpr int kGridRows = 15;
constexpr float kCellSize = 5.0f;  // world units
// The grid's left and top edges, world units: it is centred on x 0 and stands on y 0.
constexpr float kGridLeft = -kGridColumns * kCellSize / 2;
constexpr float kGridTop = kGridRows * kCellSize;

// A level's rows of cell characters, top row first.
using LevelRows = std::array<std::string, kGridRows>;
