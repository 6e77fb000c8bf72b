#pragma once
// What sets a level apart beyond its file: whether its big fire crackles, and the decoration
// flames drawn over its backdrop. Levels without an entry have neither.
#include <array>
#include <cstdint>

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

// The facts of level n: no fire sound and no flames for a level without an entry.
const LevelFacts& levelFacts(std::int32_t n);
