#pragma once
// Checks a level file the way a level author needs: every problem the game would stumble over,
// or that would make the level unplayable, reported with its 1-based line and column.
#include <string>
#include <vector>

// Characters that mean an empty cell. The game ignores any character it does not know, but the
// checker accepts only these two so that a typing slip never passes silently.
constexpr char kEmptyCellChars[] = {' ', '.'};

struct LevelIssue {
  bool warning = false;  // true: the level loads and plays, but probably not as meant
  int line = 0;          // 1-based; 0 when the problem has no single place
  int column = 0;        // 1-based; 0 when the problem has no single place
  std::string message;
};

struct LevelCheck {
  std::vector<LevelIssue> issues;

  bool hasErrors() const;
  // "name:line:column: message" per issue ("name: message" without a place), one a line.
  std::string report(const std::string& name) const;
};

// Checks the file's bytes: the row count and final line feed, row lengths, characters, the start
// and exit cells, and that the border keeps the glider inside the level.
LevelCheck checkLevelText(const std::string& text);
// Reads the file and checks it; a file that does not open is one error.
LevelCheck checkLevelFile(const std::string& path);
// The file name without its directories, for messages.
std::string baseName(const std::string& path);
