#pragma once
// Reads a level file's 15 rows. A row ends at LF (a CR just before it belongs to the line end)
// and keeps at most 20 characters, up to its first NUL. A longer line keeps its first 20 characters
// and leaves every later row empty; a file that ends before its 15th line end leaves the missing
// rows empty and is reported.
#include <cstdio>
#include <string>

#include "level/Grid.h"

struct LevelFile {
  LevelRows rows;
  // Empty when the file was read in full; otherwise what went wrong, for the player's console.
  std::string problem;
};

// Reads the level file at fileName; a file that does not open yields empty rows and a problem.
LevelFile readLevelFile(const std::string& fileName);
// Reads the rows from an open file.
LevelFile readLevelStream(std::FILE* file);
// Reads the rows from a level file's text held in memory, by the same rules.
LevelFile readLevelText(const std::string& text);
