#include "tools/solver/RouteMap.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <queue>
#include <utility>
#include <vector>

namespace {
constexpr float kCell = 5.0f;                 // cell size, units
constexpr float kUnreachable = 10000.0f;      // route length of a cell with no way to an exit
constexpr float kLeftEdge = -50.0f, kTopEdge = 75.0f;
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

RouteMap::RouteMap(const std::array<std::string, 15>& rows) {
  auto cellAt = [&](int c, int r) { return c < static_cast<int>(rows[r].size()) ? rows[r][c] : ' '; };
  cellDistance_.fill(kUnreachable);
  // Cells a fire lifts through: its column and its neighbours', up to its reach.
  std::array<bool, kColumns * kRows> lifts{};
  for (int r = 0; r < kRows; ++r)
    for (int c = 0; c < kColumns; ++c)
      for (int up = 0; up < liftCells(cellAt(c, r)) && r - up >= 0; ++up)
        for (int dc = -1; dc <= 1; ++dc)
          if (c + dc >= 0 && c + dc < kColumns) lifts[(r - up) * kColumns + c + dc] = true;
  using Entry = std::pair<float, int>;
  std::priority_queue<Entry, std::vector<Entry>, std::greater<Entry>> queue;
  for (int r = 0; r < kRows; ++r)
    for (int c = 0; c < kColumns; ++c)
      if (cellAt(c, r) == 'G') {
        cellDistance_[r * kColumns + c] = 0;
        queue.push({0.0f, r * kColumns + c});
      }
  while (!queue.empty()) {
    const auto [d, index] = queue.top();
    queue.pop();
    if (d > cellDistance_[index]) continue;
    const int c = index % kColumns, r = index / kColumns;
    for (int dr = -1; dr <= 1; ++dr) {
      for (int dc = -1; dc <= 1; ++dc) {
        const int nc = c + dc, nr = r + dr;
        if ((dc == 0 && dr == 0) || nc < 0 || nr < 0 || nc >= kColumns || nr >= kRows) continue;
        if (!isOpen(cellAt(nc, nr))) continue;
        // The glider moves from the neighbour into this cell: upwards when this cell is higher.
        const bool lifted = lifts[index] || lifts[nr * kColumns + nc];
        const float step = kCell * std::sqrt(static_cast<float>(dc * dc + dr * dr));
        const float weight = lifted ? 1.0f : dr > 0 ? kClimbWithoutLift : dr == 0 ? kLevelWithoutLift : 1.0f;
        const float next = d + step * weight;
        if (next < cellDistance_[nr * kColumns + nc]) {
          cellDistance_[nr * kColumns + nc] = next;
          queue.push({next, nr * kColumns + nc});
        }
      }
    }
  }
}

float RouteMap::distance(float x, float y) const {
  const int c = std::clamp(static_cast<int>(std::floor((x - kLeftEdge) / kCell)), 0, kColumns - 1);
  const int r = std::clamp(static_cast<int>(std::floor((kTopEdge - y) / kCell)), 0, kRows - 1);
  // Through the best neighbouring cell centre, so that the distance falls smoothly on the way.
  float best = cellDistance_[r * kColumns + c] + kCell;
  for (int nr = std::max(r - 1, 0); nr <= std::min(r + 1, kRows - 1); ++nr) {
    for (int nc = std::max(c - 1, 0); nc <= std::min(c + 1, kColumns - 1); ++nc) {
      const float cx = kLeftEdge + (static_cast<float>(nc) + 0.5f) * kCell;
      const float cy = kTopEdge - (static_cast<float>(nr) + 0.5f) * kCell;
      best = std::min(best, cellDistance_[nr * kColumns + nc] + std::hypot(x - cx, y - cy));
    }
  }
  return best;
}
