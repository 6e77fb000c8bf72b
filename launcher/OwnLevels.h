#pragma once
// Levels of the player's own for the desktop game: a level pack file or a folder of level files,
// read and checked before any window opens.
#include <string>
#include <vector>

struct OwnLevels {
  std::vector<std::string> levels;  // each level file's text, in play order
  std::string report;               // every problem found, "file:line:column: message" a line
  bool fit = false;                 // true when no level has an error: the game may play them
};

// Reads and checks a .zvpack file; its levels are played in the pack's order.
OwnLevels readPackFile(const std::string& path);
// Reads and checks levels/level1.txt, level2.txt, ... of dir up to the first missing number,
// as the game itself would play the folder.
OwnLevels readLevelFolder(const std::string& dir);
// Makes the day's pack (date YYYY-MM-DD) at the difficulties of the shipped levels and routes in
// levelsDir, saying how far it has got on the way, since it takes a while.
OwnLevels makeDailyLevels(const std::string& date, const std::string& levelsDir);
