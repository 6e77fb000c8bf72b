#pragma once
// Starts the game inside a benchmark or test process through the same start-up main() runs, from
// the staged game directory, and reads the figures the measurements need: resident memory, live
// GL objects and a clock the caller steps by hand.
#include <cstdint>

namespace perf {

// Enters the game directory (the one holding levels/, images/ and audio/) and picks SDL's dummy
// audio driver unless a driver is already chosen, so the effect stream really loads without a
// sound device. False, with a message, when the directory cannot be entered.
bool enterGameDir(const char* dir);

// Levels in the entered game directory: level 1 up to the first number with no file, as the game
// plays them.
int shippedLevelCount();

// Runs startGame() with a one-word command line, then turns the toolkit's crank the way its main
// loop does (events, then the idle callback's redisplay request) until the first frame has been
// swapped onto the window. Call once per process, after enterGameDir.
void startGameInProcess();

// Buffer swaps the game has made since startGameInProcess.
int swapsShown();

// Replaces the game's millisecond counter by one the caller advances, starting where the frame
// clock last read, so every frame sees exactly the step it is given.
void useSteppedClock();
// Advances the stepped clock by ms milliseconds.
void advanceClock(std::uint32_t ms);
// Advances the stepped clock by one 60 Hz frame (16 or 17 ms, averaging 16.67).
void advanceOneFrame();

// Texture and display-list names alive among the first kProbedNames of each.
constexpr unsigned kProbedNames = 4096;
struct GlObjectCount {
  int textures = 0;
  int lists = 0;
};
GlObjectCount liveGlObjects();

// The process's resident set size, bytes (from /proc/self/statm); -1 if unreadable.
long residentBytes();

}  // namespace perf
