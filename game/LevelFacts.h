#pragma once
// What sets a level apart beyond its file: whether its big fire crackles, and the decoration
// flames drawn over its backdrop. Both are listed by level number; a loaded level keeps only the
// flames its own fires stand under, and the crackle only with one of them. Levels without an
// entry have neither.
#include <array>
#include <cstdint>
#include <vector>

class LevelObject;

struct DecorationFlame {
  float x, y;           // centre, world units
  float width, height;  // world units
};

constexpr int kMaxDecorationFlames = 2;

struct LevelFacts {
  std::int32_t levelNumber;
  bool fireSound;   // the fire crackle loops while the level lasts
  int flameCount;   // how many of flames are drawn
  std::array<DecorationFlame, kMaxDecorationFlames> flames;
};

// No fire sound and no flames.
constexpr LevelFacts kNoLevelFacts = {0, false, 0, {}};

// The listed facts of level n: no fire sound and no flames for a level without an entry.
const LevelFacts& levelFacts(std::int32_t n);

// Level n's listed facts as the level's objects back them: a flame is kept only where a fire's
// centre lies strictly inside its rectangle (kept flames stay in order), and the crackle only
// where it is listed and at least one flame is kept.
LevelFacts backedLevelFacts(std::int32_t n, const std::vector<LevelObject*>& objects);
