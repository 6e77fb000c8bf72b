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
  if (currentLevel == level_) currentLevel = nullptr;
  delete level_;
  levelManager.staysOnExit = false;
}

void LevelRun::start() {
  if (!level_) {
    delete currentLevel;  // a level no run owns any more
    level_ = new LevelObjectList(rows_);
  }
  currentLevel = level_;
  resetPlay();
  // An exit ends the run on this level: the manager reads no next level file, so a win costs
  // nothing to start again from.
  levelManager.staysOnExit = true;
  levelManager.levelNumber = levelNumber_;
  level_->flameClock = 0;
  level_->decorFrame = 1;
  level_->placeGlider(glider);
}

PlaySnapshot LevelRun::snapshot() const {
  return {glider, steeringControl.steerLeft, steeringControl.steerRight, GameState};
}

void LevelRun::restore(const PlaySnapshot& state) {
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
  simulateFrame(kFrameSeconds);
  return outcome();
}

Outcome LevelRun::outcome() const {
  if (GameState == LevelExit) return Outcome::Won;
  if (GameState == Lost) return Outcome::Lost;
  return Outcome::Playing;
}

const Glider& LevelRun::currentGlider() const { return glider; }

const LevelRows& LevelRun::cells() const { return rows_; }
