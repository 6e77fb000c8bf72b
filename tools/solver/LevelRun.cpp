#include "tools/solver/LevelRun.h"

#include "game/GameState.h"
#include "game/LevelManager.h"
#include "game/LevelObjectList.h"
#include "game/Simulation.h"
#include "game/SteeringControl.h"

LevelRun::LevelRun(const std::string& path, int levelNumber) : path_(path), levelNumber_(levelNumber) {
  start();
}

LevelRun::~LevelRun() {
  if (currentLevel == level_) currentLevel = nullptr;
  delete level_;
}

// The level manager owns the current level and replaces it when the glider reaches an exit, so
// after a win the level may have to be read again.
void LevelRun::load() {
  if (currentLevel != level_) {
    delete currentLevel;  // the next level the manager brought in
    level_ = nullptr;
  }
  if (!level_) level_ = new LevelObjectList(path_);
  currentLevel = level_;
}

void LevelRun::start() {
  load();
  GameState = Playing;
  glider = Glider();
  steeringControl = SteeringControl(true, true);
  levelManager.advanceTimer = 0;
  levelManager.advancing = false;
  levelManager.levelNumber = levelNumber_;
  level_->flameClock = 0;
  level_->decorFrame = 1;
  level_->placeGlider(glider);
}

PlaySnapshot LevelRun::snapshot() const {
  return {glider, steeringControl.steerLeft, steeringControl.steerRight, GameState};
}

void LevelRun::restore(const PlaySnapshot& state) {
  if (currentLevel != level_) start();
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

// On an exit the level manager moves on within the same frame: it brings in the next level
// (LevelExit stays) or, with no next level file where the run looks, declares the game won.
Outcome LevelRun::outcome() const {
  if (GameState == LevelExit || GameState == Escaped || currentLevel != level_) return Outcome::Won;
  if (GameState == Lost) return Outcome::Lost;
  return Outcome::Playing;
}

const Glider& LevelRun::currentGlider() const { return glider; }

const std::array<std::string, 15>& LevelRun::cells() const { return level_->rows; }
