#include "level/LevelCheck.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>

#include "level/LevelFile.h"
#include "level/TileTable.h"

namespace {

constexpr char kStartChar = kStartTile;
constexpr char kExitChar = 'G';
// Wall characters by the inward face they guard on the left and right border.
constexpr char kWallGuardingRight = ')';  // stops leftward motion: seals the left border
constexpr char kWallGuardingLeft = '(';   // stops rightward motion: seals the right border

struct Line {
  std::string text;
  bool endsWithLineFeed = false;
};

std::vector<Line> splitLines(const std::string& text) {
  std::vector<Line> lines;
  std::string current;
  for (char c : text) {
    if (c == '\n') {
      // A CR just before the LF belongs to the line end, as the game reads it.
      if (!current.empty() && current.back() == '\r') current.pop_back();
      lines.push_back({current, true});
      current.clear();
    } else {
      current += c;
    }
  }
  if (!current.empty()) lines.push_back({current, false});
  return lines;
}

std::string quoted(char c) {
  const unsigned char u = static_cast<unsigned char>(c);
  if (u >= 0x20 && u < 0x7f) return std::string("'") + c + "'";
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "'\\x%02X'", u);
  return buffer;
}

bool isEmptyCell(char c) {
  for (char e : kEmptyCellChars)
    if (c == e) return true;
  return false;
}

bool isFire(char c) { return c == '1' || c == '2' || c == '3' || c == '4'; }
bool isHazard(char c) { return isTileCharacter(c) && !isFire(c) && c != kStartChar && c != kExitChar &&
                               c != '(' && c != ')'; }
// Hazards 6 units wide overlap their neighbours, so a row of them has no gap at a cell edge.
bool isWideHazard(char c) { return c == '=' || c == 'T' || c == '_'; }

void add(LevelCheck& check, bool warning, int line, int column, const std::string& message) {
  check.issues.push_back({warning, line, column, message});
}

void checkRowCount(LevelCheck& check, const std::vector<Line>& lines) {
  const int count = static_cast<int>(lines.size());
  if (count < kGridRows) {
    std::ostringstream m;
    m << "only " << count << (count == 1 ? " row" : " rows") << "; a level has exactly " << kGridRows << " lines";
    add(check, false, count + 1, 1, m.str());
  } else if (count > kGridRows) {
    std::ostringstream m;
    m << count << " lines; a level has exactly " << kGridRows
      << " (the game ignores this line and the ones after it)";
    add(check, false, kGridRows + 1, 1, m.str());
  }
  if (!lines.empty() && !lines.back().endsWithLineFeed) {
    add(check, false, count, static_cast<int>(lines.back().text.size()) + 1,
        "missing line feed at the end of the last line (the game warns about it on loading)");
  }
}

// The cells in play: the first 15 lines, each cut to 20 characters as the game cuts them.
using Grid = std::vector<std::string>;

Grid checkRows(LevelCheck& check, const std::vector<Line>& lines) {
  Grid grid(kGridRows, std::string(kGridColumns, ' '));
  for (int r = 0; r < static_cast<int>(lines.size()) && r < kGridRows; ++r) {
    const std::string& text = lines[r].text;
    if (static_cast<int>(text.size()) > kGridColumns) {
      std::ostringstream m;
      m << "line is " << text.size() << " characters long; a row holds at most " << kGridColumns;
      add(check, false, r + 1, kGridColumns + 1, m.str());
    }
    for (int c = 0; c < static_cast<int>(text.size()) && c < kGridColumns; ++c) {
      if (!isTileCharacter(text[c]) && !isEmptyCell(text[c]))
        add(check, false, r + 1, c + 1, "unknown character " + quoted(text[c]));
    }
    grid[r] = text.substr(0, kGridColumns);
    grid[r].resize(kGridColumns, ' ');
  }
  return grid;
}

void checkStartAndExit(LevelCheck& check, const Grid& grid) {
  int starts = 0, exits = 0;
  for (int r = 0; r < kGridRows; ++r) {
    for (int c = 0; c < kGridColumns; ++c) {
      if (grid[r][c] == kExitChar) ++exits;
      if (grid[r][c] != kStartChar) continue;
      if (++starts > 1)
        add(check, true, r + 1, c + 1, "another start cell 'g'; the glider starts at the last one");
    }
  }
  if (starts == 0) add(check, false, 0, 0, "no start cell 'g'");
  if (exits == 0) add(check, false, 0, 0, "no exit cell 'G'");
}

// A border cell keeps the glider in when the glider cannot cross it outwards: a wall that guards
// the inward face (a glider pressed into a wall sits a hair inside it, so the wall must also stop
// the outward move from there), a fire or a hazard that stops it on the way, or an exit that ends
// the level first.
bool sealsHorizontally(char c, char inwardWall) {
  return c == inwardWall || c == kExitChar || isFire(c) || isHazard(c);
}
bool sealsVertically(char c) {
  return c == '(' || c == ')' || c == kExitChar || isFire(c) || isWideHazard(c);
}

// One warning per edge, at its first open cell, so that a missing row does not flood the report.
struct OpenEdge {
  const char* name;
  const char* advice;
  int line = 0, column = 0, count = 0;

  void note(int l, int c) {
    if (count++ == 0) line = l, column = c;
  }
  void report(LevelCheck& check) const {
    if (count == 0) return;
    std::ostringstream m;
    m << "open border: the glider can leave through the " << name << " edge here" << advice;
    if (count > 1) m << " (and at " << count - 1 << " more cells of that edge)";
    add(check, true, line, column, m.str());
  }
};

void checkBorder(LevelCheck& check, const Grid& grid) {
  const int last = kGridColumns - 1;
  OpenEdge left{"left", " (use ')')"}, right{"right", " (use '(')"}, top{"top", ""},
      bottom{"bottom", ""};
  for (int r = 0; r < kGridRows; ++r) {
    if (!sealsHorizontally(grid[r][0], kWallGuardingRight)) left.note(r + 1, 1);
    if (!sealsHorizontally(grid[r][last], kWallGuardingLeft)) right.note(r + 1, last + 1);
  }
  for (int c = 1; c < last; ++c) {
    if (!sealsVertically(grid[0][c])) top.note(1, c + 1);
    if (!sealsVertically(grid[kGridRows - 1][c])) bottom.note(kGridRows, c + 1);
  }
  for (const OpenEdge* edge : {&left, &right, &top, &bottom}) edge->report(check);
}

}  // namespace

bool LevelCheck::hasErrors() const {
  for (const LevelIssue& issue : issues)
    if (!issue.warning) return true;
  return false;
}

std::string LevelCheck::report(const std::string& name) const {
  std::ostringstream out;
  for (const LevelIssue& issue : issues) {
    out << name << ':';
    if (issue.line > 0) out << issue.line << ':' << issue.column << ':';
    out << ' ' << (issue.warning ? "warning: " : "") << issue.message << '\n';
  }
  return out.str();
}

LevelCheck checkLevelText(const std::string& text) {
  LevelCheck check;
  const std::vector<Line> lines = splitLines(text);
  checkRowCount(check, lines);
  const Grid grid = checkRows(check, lines);
  checkStartAndExit(check, grid);
  checkBorder(check, grid);
  return check;
}

LevelCheck checkLevelFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    LevelCheck check;
    add(check, false, 0, 0, "cannot open the file");
    return check;
  }
  const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  return checkLevelText(text);
}

std::string baseName(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}
