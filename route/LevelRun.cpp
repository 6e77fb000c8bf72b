#include "route/LevelRun.h"

#include "game/GameState.h"
#include "game/LevelManager.h"
#include "game/LevelObjectList.h"
#include "game/Simulation.h"
#include "game/SteeringControl.h"

LevelRun::LevelRun(const LevelRows& rows, int levelNumber) : rows_(rows), levelNumber_(levelNumber) {
  start();
}

LevelRun::~LevelRun() {
  if (levelReplaced()) {
    delete currentLevel;  // the next level the manager brought in; it already deleted ours
    currentLevel = nullptr;
    return;
  }
  if (currentLevel == level_) currentLevel = nullptr;
  delete level_;
}

// When the glider reaches an exit the level manager moves on within the same frame: it deletes
// this run's level and reads the next level file where it looks (./levels), or, with no such
// file, declares the game won and keeps the level. The new level may even sit at the old one's
// address, so the manager's level number, not the pointer, tells a replaced level.
bool LevelRun::levelReplaced() const {
  if (!level_) return false;
  return currentLevel != level_ || (levelManager.levelNumber != levelNumber_ && GameState != Escaped);
}

void LevelRun::load() {
  if (levelReplaced()) {
    delete currentLevel;
    level_ = nullptr;
  } else if (!level_) {
    delete currentLevel;  // a level no run owns any more
  }
  if (!level_) level_ = new LevelObjectList(rows_);
  currentLevel = level_;
}

void LevelRun::start() {
  load();
  resetPlay();
  levelManager.levelNumber = levelNumber_;
  level_->flameClock = 0;
  level_->decorFrame = 1;
  level_->placeGlider(glider);
}

PlaySnapshot LevelRun::snapshot() const {
  return {glider, steeringControl.steerLeft, steeringControl.steerRight, GameState};
}

void LevelRun::restore(const PlaySnapshot& state) {
  if (levelReplaced()) start();
  glider = state.glider;
  steeringControl.steerLeft = state.steerLeft;
  steeringControl.steerRight = state.steerRight;
  GameState = state.gameState;
  levelManager.advanceTimer = 0;
  levelManager.advancing = false;
  levelManager.levelNumber = levelNumber_;
}

Outcome LevelRun::frame(Steer input) {
  if (input == Steer::None) {
    steeringControl.release();
  } else if (GameState == Playing) {
    steeringControl.press(input == Steer::Right);
  }
  lastOwn_ = glider;
  simulateFrame(kFrameSeconds);
  return outcome();
}

// On an exit the level manager moves on within the same frame: it brings in the next level
// (LevelExit stays) or, with no next level file where the run looks, declares the game won.
Outcome LevelRun::outcome() const {
  if (GameState == LevelExit || GameState == Escaped || currentLevel != level_) return Outcome::Won;
  if (GameState == Lost) return Outcome::Lost;
  return Outcome::Playing;
}

const Glider& LevelRun::currentGlider() const { return levelReplaced() ? lastOwn_ : glider; }

// The run's own rows: after a win the manager has put the next level in its level's place.
const LevelRows& LevelRun::cells() const { return rows_; }
