#include "route/LevelGenerator.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "backdrop/Prng.h"
#include "game/HeatSource.h"
#include "level/Grid.h"
#include "level/LevelCheck.h"
#include "level/LevelFile.h"
#include "level/TileTable.h"
#include "route/KindRouteSearch.h"
#include "route/LevelSearch.h"
#include "route/RouteTrace.h"
#include "route/TimingError.h"

namespace {

// The art's fixed-seed generator gives the same numbers in every build, natively and in
// WebAssembly (the standard library's distributions differ between them).
class Dice {
 public:
  explicit Dice(std::uint64_t seed) : random_(seed) {}
  // A whole number from lo to hi, both included.
  int between(int lo, int hi) { return lo + static_cast<int>(random_.next() % static_cast<std::uint64_t>(hi - lo + 1)); }
  // True with the chance p.
  bool chance(double p) { return static_cast<double>(random_.next() >> 11) * 0x1.0p-53 < p; }

 private:
  art::Prng random_;
};

constexpr int kLast = kGridColumns - 1;
constexpr int kFloor = kGridRows - 1;
constexpr char kFires[] = {'3', '1', '4'};

struct Room {
  std::array<std::string, kGridRows> rows;
  char& at(int row, int column) { return rows[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)]; }
  bool empty(int row, int column) { return at(row, column) == ' '; }
};

// Walls all round, guarding the inside faces, with a floor the glider slides right along.
Room closedRoom() {
  Room room;
  room.rows[0] = ")" + std::string(kLast, '(');
  for (int r = 1; r < kFloor; ++r) room.rows[static_cast<std::size_t>(r)] = ")" + std::string(kLast - 1, ' ') + "(";
  room.rows[kFloor] = std::string(kLast, ')') + "(";
  return room;
}

// A shelf of one-way walls the glider slides right along, from `from` to `to`.
void shelf(Room& room, int row, int from, int to) {
  for (int c = from; c <= to; ++c)
    if (room.empty(row, c)) room.at(row, c) = ')';
}

// A pillar standing on the floor, `height` cells tall, that stops the glider flying right; a
// hard room caps it with a hazard.
void pillar(Room& room, Dice& dice, int column, int height, double hardness) {
  for (int r = kFloor - 1; r >= kFloor - height; --r) room.at(r, column) = '(';
  if (dice.chance(hardness * 0.6)) room.at(kFloor - height - 1, column) = 'U';
}

// A fire on the floor before a pillar lifts the glider over it.
void fireBefore(Room& room, Dice& dice, int column, int pillarHeight) {
  const char fire = pillarHeight <= 3 ? '3' : kFires[dice.between(1, 2)];
  room.at(kFloor - 1, column) = fire;
}

// A row of spikes in a shelf's place, with a gap to fall through.
void spikeRow(Room& room, Dice& dice, int row, int from, int to, int gap) {
  const int gapAt = dice.between(from + 1, std::max(from + 1, to - gap));
  for (int c = from; c <= to; ++c)
    if (room.empty(row, c) && (c < gapAt || c >= gapAt + gap)) room.at(row, c) = '=';
}

bool isWall(char c) { return c == '(' || c == ')'; }
bool isHazardOrFire(char c) { return c != ' ' && !isWall(c) && c != 'g' && c != 'G'; }

std::string textOf(const Room& room) {
  std::string text;
  for (const std::string& row : room.rows) text += row + "\n";
  return text;
}

// The room mirrored left for right: the start on the right, the exit to the left.
Room mirrored(const Room& room) {
  Room out = room;
  for (std::size_t r = 0; r < out.rows.size(); ++r) {
    std::string row(room.rows[r].rbegin(), room.rows[r].rend());
    for (char& c : row) c = c == '(' ? ')' : c == ')' ? '(' : c;
    out.rows[r] = row;
  }
  return out;
}


}  // namespace

namespace {

// Blocks of wall about the room, off the start's fall and the exit's mouth: rests, ledges and
// corners that give each room a shape of its own. A block that spoils the way is caught by the
// proof.
void wallBlocks(Room& room, Dice& dice) {
  for (int i = dice.between(3, 6); i > 0; --i) {
    const int width = dice.between(1, 4), height = dice.between(1, 2);
    const int row = dice.between(3, kFloor - 3), column = dice.between(2, kLast - 1 - width);
    const char wall = dice.chance(0.5) ? '(' : ')';
    bool clear = true;
    for (int r = row - 1; r <= row + height; ++r)
      for (int c = column - 1; c <= column + width; ++c) clear = clear && (room.empty(r, c) || isWall(room.at(r, c)));
    for (int c = column - 2; c <= column + width + 1; ++c)
      for (int r = 1; r < row; ++r) clear = clear && room.at(r, std::clamp(c, 0, kLast)) != 'g';
    if (!clear) continue;
    for (int r = row; r < row + height; ++r)
      for (int c = column; c < column + width; ++c) room.at(r, c) = wall;
  }
}

// A descent: shelves from alternate walls, each ending in a gap the glider drops through to the
// one below, with spikes along their far ends in harder rooms, and the exit under the last gap.
Room zigzagRoom(Dice& dice, double h) {
  Room room = closedRoom();
  const int tiers = dice.between(2, 4);
  const int gap = std::max(2, 4 - static_cast<int>(h * 2.5));
  int row = dice.between(2, 4);
  room.at(row, dice.between(2, 8)) = 'g';
  bool fromLeft = true;
  for (int tier = 0; tier <= tiers; ++tier) {
    const int shelfRow = row + 1;
    const int reach = kLast - 1 - gap - dice.between(0, 4);
    const int from = fromLeft ? 1 : kLast - reach, to = fromLeft ? reach : kLast - 1;
    if (tier == tiers) break;
    for (int c = from; c <= to; ++c) room.at(shelfRow, c) = fromLeft ? ')' : '(';
    // Spikes on the shelf's far part: the glider must keep clear of them on its way to the gap.
    const int spikes = static_cast<int>(h * 6.0) - dice.between(0, 2);
    const int offset = dice.between(1, std::max(1, to - from - spikes - 1));
    for (int i = 0; i < spikes; ++i) {
      char& cell = room.at(shelfRow - 1, fromLeft ? to - offset - i : from + offset + i);
      if (cell == ' ') cell = '=';
    }
    row = shelfRow + dice.between(2, 4);
    if (row > kFloor - 3) break;
    fromLeft = !fromLeft;
  }
  // The floor under the last gap holds the exit; the rest of it is walls, spiked when hard.
  const int width = std::max(1, 4 - static_cast<int>(h * 3.0));
  const int exitFrom = fromLeft ? kLast - 1 - width - dice.between(0, 1) : 1 + dice.between(0, 1);
  for (int c = exitFrom; c < exitFrom + width; ++c) room.at(kFloor, c) = 'G';
  if (dice.chance(h - 0.2))
    for (int c = fromLeft ? 1 : exitFrom + width + 1; c < (fromLeft ? exitFrom - 1 : kLast); ++c) room.at(kFloor, c) = '=';
  return room;
}

// A lift: the exit high on the far wall over a shelf, reached only in the column of a fire set into
// the floor. The floor is raised on both sides of the fire and slopes into it, ")" before it
// and "(" after, so a glider that lands anywhere slides or steers into the lift; there the lift
// keeps it out of the fire's burn. Harder rooms spike that floor, so the glider must fall into the
// column, hang hazards on the way and narrow the exit. It is a lesson for easier rooms: past
// kLiftHardness the plan builds open rooms.
constexpr double kLiftHardness = 0.4;
Room liftRoom(Dice& dice, double h) {
  Room room = closedRoom();
  const int startRow = dice.between(2, 4), startColumn = dice.between(2, 4);
  room.at(startRow, startColumn) = 'g';
  shelf(room, startRow + 1, 1, startColumn + dice.between(1, 3));

  // The exit over its shelf on the far wall, below the "4"'s reach of 12 rows.
  const int shelfRow = startRow + 2 + dice.between(0, 1);
  const int shelfFrom = kLast - 1 - dice.between(2, 3);
  shelf(room, shelfRow, shelfFrom, kLast - 1);
  for (int r = shelfRow - std::max(1, 3 - static_cast<int>(std::lround(h * 2.0))); r < shelfRow; ++r) room.at(r, kLast - 1) = 'G';

  // The fire, a column of air or more from the shelf. The floor is raised on both sides of it, in
  // steps down towards it: one or two rows beside it, up to three farther off. The fire is set a
  // row under the lower side's top, so a glider sliding in from either side passes over its burn.
  const int fire = dice.between(startColumn + 5, shelfFrom - 2);
  const int nearBefore = dice.between(1, 2), farBefore = dice.between(nearBefore, 3), stepBefore = dice.between(1, fire - 1);
  const int nearAfter = dice.between(1, 2), farAfter = dice.between(nearAfter, 3), stepAfter = dice.between(fire + 1, kLast - 1);
  auto raised = [&](int c) {
    return c < fire ? (c < stepBefore ? farBefore : nearBefore) : c > fire ? (c > stepAfter ? farAfter : nearAfter) : 0;
  };
  const int fireRow = kFloor + 1 - std::min(nearBefore, nearAfter);
  for (int c = 1; c < kLast; ++c)
    for (int r = c == fire ? fireRow : kFloor - raised(c); r < kFloor; ++r) room.at(r, c) = c > fire ? '(' : ')';
  room.at(fireRow, fire) = '4';
  if (dice.chance(h * 1.2 - 0.1))
    for (int c = 1, end = fire - 1 - dice.between(0, 2); c <= end; ++c) room.at(kFloor - raised(c), c) = '=';

  // Shelves under the ceiling, over the way to the lift: a lifted glider slides along them.
  for (int i = dice.between(1, 3); i > 0; --i) {
    const int row = dice.between(1, std::max(1, startRow - 1)), from = dice.between(startColumn + 3, fire);
    shelf(room, row, from, std::min(fire + 1, from + dice.between(2, 6)));
  }
  // Shelves to land on between the start and the fire, a hazard hanging under some when hard.
  for (int i = dice.between(1, 3); i > 0; --i) {
    const int row = dice.between(startRow + 3, kFloor - 5), from = dice.between(startColumn + 1, std::max(startColumn + 1, fire - 3));
    const int to = std::min(fire - 2, from + dice.between(1, 4));
    shelf(room, row, from, to);
    if (dice.chance(h - 0.3) && room.empty(row + 1, to)) room.at(row + 1, to) = 'n';
  }
  return room;
}

// An open room: a start on a ledge at the top left, an exit in the floor on the right, and
// obstacles between: shelves, pillars with fires to climb them, spike rows and hanging hazards.
Room openRoom(Dice& dice, double h) {
  Room room = closedRoom();

  // The start on a ledge at the top left.
  const int startRow = dice.between(2, 4);
  const int startColumn = dice.between(2, 4);
  room.at(startRow, startColumn) = 'g';
  shelf(room, startRow + 1, 1, startColumn + dice.between(1, 3));

  // The exit in the floor on the right, narrower as the room gets harder.
  const int exitWidth = std::max(1, 4 - static_cast<int>(std::lround(h * 3.0 + dice.between(0, 1) * 0.5)));
  const int exitEnd = kLast - 1 - dice.between(0, 4);
  for (int c = exitEnd - exitWidth + 1; c <= exitEnd; ++c) room.at(kFloor, c) = 'G';
  const int exitStart = exitEnd - exitWidth + 1;

  // A spiked floor between the start and the exit in harder rooms: the glider must not land short.
  const bool spikedFloor = dice.chance(h * 1.1 - 0.1);
  if (spikedFloor)
    for (int c = 1; c < exitStart - 1; ++c) room.at(kFloor, c) = '=';
  // Before the exit and past it the floor is raised into steps the glider can rest against.
  if (!spikedFloor && dice.chance(0.6))
    for (int c = 1, end = dice.between(2, 6), top = kFloor - dice.between(1, 3); c <= end; ++c)
      for (int r = top; r < kFloor; ++r) room.at(r, c) = ')';
  for (int c = exitEnd + 1, top = kFloor - dice.between(0, 2); c < kLast; ++c)
    for (int r = top; r < kFloor; ++r) room.at(r, c) = '(';

  // Shelves overhead, under the ceiling: the room's shape, out of the glide's way.
  for (int i = dice.between(2, 4); i > 0; --i) {
    const int row = dice.between(1, startRow), from = dice.between(startColumn + 3, kLast - 5);
    shelf(room, row, from, std::min(kLast - 1, from + dice.between(2, 6)));
  }

  // The obstacles between, left to right: more and taller as the room gets harder.
  const int obstacles = 2 + static_cast<int>(h * 2.0 + dice.between(0, 99) / 100.0);
  const int first = startColumn + 3, last = exitStart - 2;
  const int span = std::max(1, (last - first) / obstacles);
  for (int i = 0; i < obstacles; ++i) {
    const int column = std::min(last, first + i * span + dice.between(0, std::max(0, span - 2)));
    const int kind = dice.between(0, h < 0.3 ? 1 : 3);
    if (kind == 0) {  // a shelf to land on, with a run to the right, and a wall hanging at its end
      const int row = dice.between(startRow + 3, kFloor - 3);
      const int end = std::min(last, column + dice.between(2, 6));
      shelf(room, row, column, end);
      for (int r = row + 1, hang = dice.between(0, 3); r <= row + hang && r < kFloor - 1; ++r) room.at(r, end) = '(';
    } else if (kind == 1 || spikedFloor) {  // a pillar, with a fire to climb it when it is tall
      const int height = 2 + static_cast<int>(h * 5.0) + dice.between(0, 2);
      if (room.empty(kFloor - height - 1, column)) {
        pillar(room, dice, column, height, h);
        if (height > 3 && column - 2 > startColumn && room.empty(kFloor - 1, column - 2) && !spikedFloor)
          fireBefore(room, dice, column - 2, height);
      }
    } else if (kind == 2) {  // a spike row across the middle with a gap
      const int row = dice.between(startRow + 4, kFloor - 3);
      spikeRow(room, dice, row, column, std::min(last + 1, column + 4 + dice.between(0, 3)), 4 - static_cast<int>(h * 2.0));
    } else {  // a hazard block hanging under a shelf
      const int row = dice.between(startRow + 3, kFloor - 4);
      shelf(room, row, column - 1, column + 1);
      room.at(row + 1, column) = 'n';
    }
  }
  return room;
}

// A ceiling lowered by whole rows of wall down to the row above the start's, in some easier rooms
// with no fire to lift the glider into it: with the wall blocks, what gives rooms of one plan
// shapes of their own.
void lowerCeiling(Room& room, Dice& dice, double h) {
  if (h >= 0.5) return;
  for (const std::string& row : room.rows)
    if (row.find_first_of(kFires, 0, sizeof kFires) != std::string::npos) return;
  int startRow = 1;
  while (startRow < kFloor && room.rows[static_cast<std::size_t>(startRow)].find('g') == std::string::npos) ++startRow;
  if (startRow < 2 || startRow == kFloor || !dice.chance(0.5)) return;
  for (int r = 1, depth = dice.between(1, startRow - 1); r <= depth; ++r)
    for (int c = 1; c < kLast; ++c) room.at(r, c) = '(';
}

}  // namespace

namespace {

Dice roomDice(std::uint64_t seed) { return Dice(seed * 0x2545F4914F6CDD1Dull + 1); }

// The plans a room is built on: the room's first roll picks one, whatever the hardness.
enum class RoomPlan { Open, Descent, Lift };
constexpr int kPlans = 3;
RoomPlan rollPlan(Dice& dice) {
  const int roll = dice.between(0, 9);
  return roll < 4 ? RoomPlan::Open : roll < 7 ? RoomPlan::Descent : RoomPlan::Lift;
}

RoomPlan planOf(std::uint64_t seed) {
  Dice dice = roomDice(seed);
  return rollPlan(dice);
}

}  // namespace

std::string buildRoom(std::uint64_t seed, double hardness, bool mirror) {
  Dice dice = roomDice(seed);
  const double h = std::clamp(hardness, 0.0, 1.0);
  const RoomPlan plan = rollPlan(dice);
  Room room = plan == RoomPlan::Descent                    ? zigzagRoom(dice, h)
              : plan == RoomPlan::Lift && h < kLiftHardness ? liftRoom(dice, h)
                                                            : openRoom(dice, h);
  wallBlocks(room, dice);
  lowerCeiling(room, dice, h);
  return textOf(mirror ? mirrored(room) : room);
}

std::vector<GridCell> strayCells(LevelRun& run, const InputScript& route) {
  const RouteTrace trace = traceRoute(run, withRunOut(route));
  const LevelRows& rows = run.cells();
  std::array<std::array<int, kGridColumns>, kGridRows> state{};  // 0 none, 1 object far, 2 placed
  auto inner = [](int r, int c) { return r > 0 && r < kFloor && c > 0 && c < kLast; };
  for (int r = 0; r < kGridRows; ++r) {
    for (int c = 0; c < kGridColumns; ++c) {
      const char cell = c < static_cast<int>(rows[static_cast<std::size_t>(r)].size()) ? rows[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)] : ' ';
      if (!isHazardOrFire(cell) && !(isWall(cell) && inner(r, c))) continue;
      const float x = kGridLeft + (c + 0.5f) * kCellSize, y = kGridTop - (r + 0.5f) * kCellSize;
      // A fire whose column lifts the glider is on the route however high it is lifted.
      const HeatSource fire(x, y, heatStrength(cell));
      const bool near = std::any_of(trace.points.begin(), trace.points.end(), [&](const TracePoint& p) {
        return std::hypot(p.x - x, p.y - y) <= kStrayCells * kCellSize || fire.lifts(p.x, p.y);
      });
      state[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)] = near ? 2 : 1;
    }
  }
  // What touches a placed object is placed too: a row's far end, a pillar's foot.
  for (bool grew = true; grew;) {
    grew = false;
    for (int r = 0; r < kGridRows; ++r)
      for (int c = 0; c < kGridColumns; ++c) {
        int& here = state[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)];
        if (here != 1) continue;
        const int around[4][2] = {{r - 1, c}, {r + 1, c}, {r, c - 1}, {r, c + 1}};
        for (const auto& n : around)
          if (n[0] >= 0 && n[0] < kGridRows && n[1] >= 0 && n[1] < kGridColumns &&
              state[static_cast<std::size_t>(n[0])][static_cast<std::size_t>(n[1])] == 2) {
            here = 2;
            grew = true;
            break;
          }
      }
  }
  std::vector<GridCell> stray;
  for (int r = 0; r < kGridRows; ++r)
    for (int c = 0; c < kGridColumns; ++c) {
      const char cell = c < static_cast<int>(rows[static_cast<std::size_t>(r)].size()) ? rows[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)] : ' ';
      if (isHazardOrFire(cell) && state[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)] == 1) stray.push_back({r, c});
    }
  return stray;
}

namespace {

// The level a little easier or harder at its exit, each way it can be. Easier: the exit a cell
// wider, over the wall or spike beside it. Harder: an end cell of the exit turned into the floor
// beside it, or, beside a one-cell exit, a cell of open floor turned into spikes.
std::vector<std::string> reshapedExits(const std::string& text, bool easier) {
  const std::size_t floor = static_cast<std::size_t>(kFloor * (kGridColumns + 1)), up = kGridColumns + 1;
  const std::size_t first = text.find('G', floor), last = text.rfind('G', floor + kLast);
  std::vector<std::string> out;
  if (first == std::string::npos) return out;
  auto change = [&](std::size_t at, char to) {
    out.push_back(text);
    out.back()[at] = to;
  };
  if (!easier && first != last) {
    change(first, text[first - 1]);
    change(last, text[last + 1]);
    return out;
  }
  for (std::size_t at : {last + 1, first - 1}) {
    if (at <= floor || at >= floor + kLast) continue;
    if (easier && (isWall(text[at]) || text[at] == '=')) change(at, 'G');
    if (!easier && isWall(text[at]) && text[at - up] == ' ') change(at, '=');
  }
  return out;
}

// A room with fewer cells of walls, hazards and fires inside it than this reads as bare, and two
// bare rooms of one plan look alike: it is turned down before any proof. Whole rows of wall (a
// lowered ceiling) do not count.
constexpr int kLeastInnerCells = 32;

int innerCells(const std::string& text) {
  int cells = 0;
  for (int r = 1; r < kFloor; ++r) {
    const std::string inside = text.substr(static_cast<std::size_t>(r * (kGridColumns + 1) + 1), kLast - 1);
    if (inside.find(' ') != std::string::npos)
      cells += static_cast<int>(inside.size()) - static_cast<int>(std::count(inside.begin(), inside.end(), ' '));
  }
  return cells;
}

// Rooms this far off their target after the screening trials are not measured in full.
constexpr double kScreenTolerance = 0.25;

// The route's stray objects and its rate on the room. The rate's first trials screen the room: one
// far off its target, or with a stray object, is not measured further, and rateTrials says so.
void place(LevelRun& run, const InputScript& route, double target, const GenerateLimits& limits, GeneratedLevel& out) {
  out.route = route;
  out.strayObjects = static_cast<int>(strayCells(run, route).size());
  const int frames100 = framesForMilliseconds(100);
  TrialRandom random(kTrialSeed);
  WinRate rate;
  addTrials(rate, run, route, frames100, limits.screenTrials, random);
  if (std::fabs(rate.rate() - target) <= kScreenTolerance && !out.strayObjects)
    addTrials(rate, run, route, frames100, kRateTrials - rate.trials, random);
  out.rate100 = rate.rate();
  out.rateTrials = rate.trials;
}

// The room's kindest found route, its rate and its stray objects, or false when the room is unfit.
bool prove(const std::string& text, double target, const GenerateLimits& limits, GeneratedLevel& out) {
  if (!checkLevelText(text).issues.empty()) return false;
  LevelRun run(readLevelText(text).rows, 1);
  SearchLimits search;
  search.maxRuns = static_cast<std::size_t>(limits.searchRuns);
  search.segmentFrames = 12;
  const SearchResult found = searchLevel(run, search);
  if (!found.won) return false;
  KindSearchLimits kind;
  kind.trials = limits.kindTrials;
  kind.maxCandidates = limits.kindCandidates;
  kind.budgetSeconds = 1e9;  // bounded by the count alone
  const KindSearchResult kinder = searchKindRoute(run, compactScript(found.script), kind);
  if (!kinder.startWon) return false;
  out.text = text;
  place(run, kinder.script, target, limits, out);
  return true;
}

// A room changed a little (its exit reshaped, its stray objects cleared) keeps the route found for
// it, when that still wins played exactly: only its rate and stray objects are measured again.
bool reprove(const std::string& text, double target, const GenerateLimits& limits, GeneratedLevel& out) {
  if (!checkLevelText(text).issues.empty()) return false;
  LevelRun run(readLevelText(text).rows, 1);
  if (replayScript(run, withRunOut(out.route)).outcome != Outcome::Won) return false;
  out.text = text;
  place(run, out.route, target, limits, out);
  return true;
}

// The level without its stray hazards and fires, when its route still wins without them.
bool clearStrays(GeneratedLevel& level, double target, const GenerateLimits& limits) {
  std::string text = level.text;
  {
    LevelRun run(readLevelText(text).rows, 1);
    // Inside the room a stray cell becomes air; in the floor, wall.
    for (const GridCell& cell : strayCells(run, level.route))
      text[static_cast<std::size_t>(cell.row * (kGridColumns + 1) + cell.column)] =
          cell.row < kFloor ? ' ' : cell.column < kGridColumns / 2 ? ')' : '(';
  }
  GeneratedLevel cleared = level;
  if (!reprove(text, target, limits, cleared) || cleared.strayObjects) return false;
  level = cleared;
  return true;
}

}  // namespace

bool rateOfShippedLevel(const std::string& levelsDir, int n, double& rate, std::string& error) {
  const std::string base = levelsDir + "/level" + std::to_string(n);
  const LevelFile level = readLevelFile(base + ".txt");
  InputScript route;
  if (!level.problem.empty()) {
    error = base + ".txt: " + level.problem;
    return false;
  }
  if (!readScriptFile(base + ".route", route, error)) {
    error = base + ".route: " + error;
    return false;
  }
  LevelRun run(level.rows, n);
  rate = measureRouteRates(run, route, kRateTrials).rates[1].rate();
  return true;
}

GeneratedLevel generateLevel(std::uint64_t seed, double targetRate, const GenerateLimits& limits) {
  GeneratedLevel best;
  // Each plan is aimed on its own, for at one hardness a descent is much harder than an open room:
  // a first guess from the target, then halving steps towards it: too easy, harder next time.
  struct Aim {
    double hardness, step;
  };
  const double guess = std::clamp((1.0 - targetRate) * 2.0, 0.0, 1.0);
  std::array<Aim, kPlans> aims;
  aims.fill({guess, 0.25});
  for (int room = 0; room < limits.maxRooms; ++room) {
    const std::uint64_t roomSeed = seed * 1000003ull + static_cast<std::uint64_t>(room);
    Aim& aim = aims[static_cast<std::size_t>(planOf(roomSeed))];
    GeneratedLevel tried;
    tried.hardness = aim.hardness;
    // Odd seeds fly right and even seeds left, so that neighbouring seeds never share a layout.
    const std::string text = buildRoom(roomSeed, aim.hardness, seed % 2 == 0);
    best.rooms = room + 1;
    if (innerCells(text) < kLeastInnerCells || !prove(text, targetRate, limits, tried)) continue;
    if (tried.strayObjects) clearStrays(tried, targetRate, limits);
    // A room measured in full is near its target: its exit reshaped once or twice, easier or
    // harder, may land it. Past the target the nudging stops.
    const bool easier = tried.rate100 < targetRate;
    for (int nudge = 0; nudge < 3 && tried.rateTrials == kRateTrials && tried.strayObjects == 0 &&
                        (tried.rate100 < targetRate) == easier && std::fabs(tried.rate100 - targetRate) > kRateTolerance;
         ++nudge) {
      GeneratedLevel nearest = tried;
      for (const std::string& text : reshapedExits(tried.text, easier)) {
        GeneratedLevel nudged = tried;
        if (reprove(text, targetRate, limits, nudged) && nudged.rateTrials == kRateTrials && nudged.strayObjects == 0 &&
            std::fabs(nudged.rate100 - targetRate) < std::fabs(nearest.rate100 - targetRate))
          nearest = nudged;
      }
      if (nearest.text == tried.text) break;
      tried = nearest;
    }
    const double miss = tried.rate100 - targetRate;
    if (std::fabs(miss) <= kRateTolerance && tried.strayObjects == 0 && tried.rateTrials == kRateTrials) {
      tried.found = true;
      tried.rooms = room + 1;
      return tried;
    }
    aim.hardness = std::clamp(aim.hardness + (miss > 0 ? aim.step : -aim.step), 0.0, 1.0);
    aim.step = std::max(0.05, aim.step * 0.7);
  }
  return best;
}
