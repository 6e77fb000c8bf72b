#pragma once
// The game's one state machine: a single global integer that input, the glider, the blocks and the
// level manager set, and that every component tests for itself.
#include <cstdint>

enum GameStateValue : std::int32_t {
  Title = 0,         // title picture, waiting for a mouse press
  Instructions = 1,  // instructions picture, waiting for a mouse press
  Playing = 2,       // the level is played; the arrows steer
  LevelExit = 3,     // the glider reached an exit; the next level is being brought in
  Escaped = 4,       // no further level file: the game is won
  Lost = 5,          // the glider crashed or burned
};

extern std::int32_t GameState;
