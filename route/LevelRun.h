#pragma once
// Plays one level through the game's own simulation at a fixed 60 frames per second, with
// the player's left/right keys, and snapshots the play so that a search can branch from any frame.
#include <cstdint>
#include <string>
#include <vector>

#include "game/Glider.h"
#include "level/Grid.h"

class LevelObjectList;

// Frames per second of every run, and the length of one frame, seconds.
constexpr int kFramesPerSecond = 60;
constexpr float kFrameSeconds = 1.0f / kFramesPerSecond;

// The key held during a frame.
enum class Steer : std::uint8_t { None = 0, Left = 1, Right = 2 };

enum class Outcome { Playing, Won, Lost };

// Everything a frame changes that later frames read. Heat source phases and the decoration
// flame clock also change, but they only pick pictures and never act on the glider.
struct PlaySnapshot {
  Glider glider;
  bool steerLeft = false, steerRight = false;
  std::int32_t gameState = 0;
};

// Owns the game's global simulation state while it lives: only one run may exist at a time.
class LevelRun {
 public:
  // Builds the level from its rows (readLevelText or readLevelFile reads them) as level number
  // levelNumber, and starts it.
  LevelRun(const LevelRows& rows, int levelNumber);
  ~LevelRun();
  LevelRun(const LevelRun&) = delete;
  LevelRun& operator=(const LevelRun&) = delete;

  // Back to the level's first frame, set up as the game starts a level.
  void start();
  PlaySnapshot snapshot() const;
  void restore(const PlaySnapshot& state);
  // Presses or releases keys as the keyboard would for `input`, then runs one frame.
  Outcome frame(Steer input);
  Outcome outcome() const;
  // The glider; after a win, where it reached the exit.
  const Glider& currentGlider() const;
  // The level's rows as the game read them, whatever was played since.
  const LevelRows& cells() const;

 private:
  LevelRows rows_;
  int levelNumber_;
  LevelObjectList* level_ = nullptr;  // also the game's currentLevel while it is in play
};
