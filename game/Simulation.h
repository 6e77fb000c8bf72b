#pragma once
// One frame of the game's rules: the level objects act on the glider, update, the steering pushes,
// the glider moves and the level manager advances, in that order. The frame step is cut into
// sub-steps of at most 2 ms so that collisions hold at any frame rate: a wall face only catches a
// centre that crossed it by less than about 0.03 units.

// Longest sub-step, seconds.
constexpr double kMaxSubStep = 0.002;

// Number of equal sub-steps a frame step of dt seconds is cut into (at least 1).
int subStepCount(float dt);

// Runs one frame step of dt seconds on the current level, the glider, the steering and the level
// manager. With no level loaded there is nothing to simulate and it does nothing.
void simulateFrame(float dt);

// Puts the glider, the steering, the level manager and the game state back to how the program
// starts (GameState Playing). The current level is left to whoever owns it.
void resetPlay();
