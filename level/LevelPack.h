#pragma once
// A level pack: a whole game of levels in one plain-text file (.zvpack) a person can read and
// edit. Its first line is "Zarvolith level pack: NAME" (NAME may be empty), then each level's
// 15 lines follow back to back, exactly as its level file holds them.
#include <string>
#include <vector>

#include "level/LevelCheck.h"

constexpr int kMaxPackLevels = 50;
constexpr int kMaxPackNameCharacters = 40;
// Larger than any pack can be (50 levels of 15 lines of 20 characters and CR LF, and the name):
// a reader refuses more before looking further.
constexpr std::size_t kMaxPackBytes = 64 * 1024;
constexpr char kPackHeading[] = "Zarvolith level pack:";

struct LevelPack {
  std::string name;                 // plain text, UTF-8
  std::vector<std::string> levels;  // each one level file's text, its 15 lines with their line feeds
};

// What reading a pack found. The issues carry the pack file's own 1-based line and column; a
// level's issues name the level ("level 3: ...").
struct PackReading {
  LevelPack pack;
  LevelCheck check;
};

// Reads and checks a pack's text: its heading and name, its level count, every level by the
// level checker, and a last level cut short.
PackReading readLevelPack(const std::string& text);
// The pack's file text; readLevelPack gives back the same pack.
std::string writeLevelPack(const LevelPack& pack);
// The problem with a pack name, or "" when it is fit to keep: too long, not UTF-8, or holding a
// control character.
std::string packNameProblem(const std::string& name);
