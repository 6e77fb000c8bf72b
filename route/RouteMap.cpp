#include "route/RouteMap.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <queue>
#include <utility>
#include <vector>

#include "level/TileTable.h"

namespace {
constexpr float kUnreachable = 10000.0f;      // route length of a cell with no way to an exit
// Outside a fire's lift the glider sinks as it flies: a step up counts this many times over,
// and a level step sideways this many.
constexpr float kClimbWithoutLift = 6.0f;
constexpr float kLevelWithoutLift = 2.0f;

// Lift reach of a fire character in cells, or 0.
int liftCells(char c) {
  switch (c) {
    case '3': return 4;
    case '1': return 10;
    case '4': return 12;
    case '2': return 20;
    default: return 0;
  }
}

// Cells the glider can pass: everything but walls, hazards and fires.
bool isOpen(char c) {
  switch (c) {
    case '(': case ')': case '[': case ']': case 'U': case 'n': case 'H': case '+': case '-':
    case '=': case 'T': case '_': case '1': case '2': case '3': case '4':
      return false;
    default:
      return true;
  }
}
}  // namespace

RouteMap::RouteMap(const LevelRows& rows) {
  auto cellAt = [&](int c, int r) { return c < static_cast<int>(rows[r].size()) ? rows[r][c] : ' '; };
  cellDistance_.fill(kUnreachable);
  // Cells a fire lifts through: its column and its neighbours', up to its reach.
  std::array<bool, kGridColumns * kGridRows> lifts{};
  for (int r = 0; r < kGridRows; ++r)
    for (int c = 0; c < kGridColumns; ++c)
      for (int up = 0; up < liftCells(cellAt(c, r)) && r - up >= 0; ++up)
        for (int dc = -1; dc <= 1; ++dc)
          if (c + dc >= 0 && c + dc < kGridColumns) lifts[(r - up) * kGridColumns + c + dc] = true;
  using Entry = std::pair<float, int>;
  std::priority_queue<Entry, std::vector<Entry>, std::greater<Entry>> queue;
  for (int r = 0; r < kGridRows; ++r)
    for (int c = 0; c < kGridColumns; ++c)
      if (cellAt(c, r) == 'G') {
        cellDistance_[r * kGridColumns + c] = 0;
        queue.push({0.0f, r * kGridColumns + c});
      }
  while (!queue.empty()) {
    const auto [d, index] = queue.top();
    queue.pop();
    if (d > cellDistance_[index]) continue;
    const int c = index % kGridColumns, r = index / kGridColumns;
    for (int dr = -1; dr <= 1; ++dr) {
      for (int dc = -1; dc <= 1; ++dc) {
        const int nc = c + dc, nr = r + dr;
        if ((dc == 0 && dr == 0) || nc < 0 || nr < 0 || nc >= kGridColumns || nr >= kGridRows) continue;
        if (!isOpen(cellAt(nc, nr))) continue;
        // The glider moves from the neighbour into this cell: upwards when this cell is higher.
        const bool lifted = lifts[index] || lifts[nr * kGridColumns + nc];
        const float step = kCellSize * std::sqrt(static_cast<float>(dc * dc + dr * dr));
        const float weight = lifted ? 1.0f : dr > 0 ? kClimbWithoutLift : dr == 0 ? kLevelWithoutLift : 1.0f;
        const float next = d + step * weight;
        if (next < cellDistance_[nr * kGridColumns + nc]) {
          cellDistance_[nr * kGridColumns + nc] = next;
          queue.push({next, nr * kGridColumns + nc});
        }
      }
    }
  }
}

float RouteMap::distance(float x, float y) const {
  const int c = std::clamp(static_cast<int>(std::floor((x - kGridLeft) / kCellSize)), 0, kGridColumns - 1);
  const int r = std::clamp(static_cast<int>(std::floor((kGridTop - y) / kCellSize)), 0, kGridRows - 1);
  // Through the best neighbouring cell centre, so that the distance falls smoothly on the way.
  float best = cellDistance_[r * kGridColumns + c] + kCellSize;
  for (int nr = std::max(r - 1, 0); nr <= std::min(r + 1, kGridRows - 1); ++nr) {
    for (int nc = std::max(c - 1, 0); nc <= std::min(c + 1, kGridColumns - 1); ++nc) {
      const float cx = cellCentreX(nc), cy = cellCentreY(nr);
      best = std::min(best, cellDistance_[nr * kGridColumns + nc] + std::hypot(x - cx, y - cy));
    }
  }
  return best;
}
