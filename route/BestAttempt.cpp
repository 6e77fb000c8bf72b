#include "route/BestAttempt.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "game/Block.h"
#include "game/HeatSource.h"
#include "game/LevelManager.h"
#include "game/LevelObjectList.h"
#include "level/TileTable.h"
#include "route/TimingError.h"

namespace {

// Stands in for one level object while a frame is played again, and notes whether its interact
// is the one that ended the glider's flight.
class Witness : public LevelObject {
 public:
  Witness(LevelObject* watched, const LevelObject*& culprit) : watched_(watched), culprit_(&culprit) {}
  void update(float dt) override { watched_->update(dt); }
  void draw() const override { watched_->draw(); }
  void interact(float dt, Glider& g) override {
    const bool flying = g.mode == Flying;
    watched_->interact(dt, g);
    if (flying && g.mode != Flying && !*culprit_) *culprit_ = watched_;
  }

 private:
  LevelObject* watched_;
  const LevelObject** culprit_;
};

// The level object that ended the glider's flight in the frame played from `before` with `key`:
// that frame played again through the game's own frame step, every object watched.
const LevelObject* lossCause(LevelRun& run, const PlaySnapshot& before, Steer key) {
  run.restore(before);
  std::vector<LevelObject*>& objects = currentLevel->objects;
  const std::vector<LevelObject*> watched = objects;
  const LevelObject* culprit = nullptr;
  std::vector<Witness> witnesses;
  witnesses.reserve(watched.size());
  for (LevelObject* object : watched) witnesses.emplace_back(object, culprit);
  for (std::size_t i = 0; i < objects.size(); ++i) objects[i] = &witnesses[i];
  run.frame(key);
  objects = watched;
  return culprit;
}

// The 1-based line and column of the cell an object was made for.
void cellOf(const LevelObject* object, int& line, int& column) {
  float x = 0, y = 0;
  if (const Block* block = dynamic_cast<const Block*>(object)) {
    x = block->x;
    y = block->y;
  } else if (const HeatSource* fire = dynamic_cast<const HeatSource*>(object)) {
    x = fire->x;
    y = fire->y;
  } else {
    return;
  }
  column = static_cast<int>(std::lround((x - cellCentreX(0)) / kCellSize)) + 1;
  line = static_cast<int>(std::lround((cellCentreY(0) - y) / kCellSize)) + 1;
}

// The number with `places` decimals, or as short as it goes when places is negative.
std::string decimal(double value, int places) {
  char text[32];
  if (places < 0)
    std::snprintf(text, sizeof text, "%g", value);
  else
    std::snprintf(text, sizeof text, "%.*f", places, value);
  return text;
}

bool samePlace(const Glider& a, const Glider& b) { return a.x == b.x && a.y == b.y; }

bool sameMotion(const Glider& a, const Glider& b) {
  return samePlace(a, b) && a.vx == b.vx && a.vy == b.vy && a.tilt == b.tilt && a.mode == b.mode;
}

}  // namespace

double BestAttempt::cellsFromExit() const { return std::round(exitCells * 10.0f) / 10.0; }

namespace {
// Cells from (x, y) to the nearest exit cell's centre, in a straight line.
float cellsToExit(const LevelRows& rows, float x, float y) {
  float best = 1e9f;
  for (int r = 0; r < kGridRows; ++r)
    for (int c = 0; c < static_cast<int>(rows[r].size()) && c < kGridColumns; ++c)
      if (rows[r][c] == 'G') best = std::min(best, std::hypot(cellCentreX(c) - x, cellCentreY(r) - y));
  return best / kCellSize;
}
}  // namespace

BestAttempt describeAttempt(LevelRun& run, const SearchResult& search, const SearchLimits& limits) {
  BestAttempt attempt;
  attempt.nearestFrames = search.nearestFrames;
  attempt.distance = search.nearestDistance;
  attempt.wayToExit = search.nearestDistance < kNoWayToExit;
  const int nearest = search.nearestFrames;
  const int bound = std::max(static_cast<int>(std::lround(limits.maxGameSeconds * kFramesPerSecond)),
                             nearest + kRunOutFrames);
  std::vector<Steer> keys;
  for (const InputSpan& span : search.nearestScript)
    keys.insert(keys.end(), static_cast<std::size_t>(span.frames), span.input);

  run.start();
  attempt.exitCells = cellsToExit(run.cells(), run.currentGlider().x, run.currentGlider().y);
  PlaySnapshot before = run.snapshot();
  Steer key = Steer::None;
  Outcome outcome = Outcome::Playing;
  bool still = false, settled = false;
  int frame = 0;
  while (frame < bound && outcome == Outcome::Playing && !settled) {
    before = run.snapshot();
    key = frame < static_cast<int>(keys.size()) ? keys[static_cast<std::size_t>(frame)] : Steer::None;
    outcome = run.frame(key);
    ++frame;
    if (frame == nearest) attempt.exitCells = cellsToExit(run.cells(), run.currentGlider().x, run.currentGlider().y);
    still = samePlace(before.glider, run.currentGlider());
    // From here on every frame would leave it as it is.
    settled = frame > nearest && sameMotion(before.glider, run.currentGlider());
  }
  attempt.endFrames = frame;
  if (outcome == Outcome::Lost) {
    attempt.ending = run.currentGlider().mode == Burning ? AttemptEnding::Burnt : AttemptEnding::Wrecked;
    cellOf(lossCause(run, before, key), attempt.line, attempt.column);
  } else if (outcome == Outcome::Won) {
    attempt.ending = AttemptEnding::Won;
  } else {
    attempt.ending = still ? AttemptEnding::Resting : AttemptEnding::Flying;
  }
  const int noKeyTail =
      outcome != Outcome::Playing || settled ? frame - nearest : bound - kRunOutFrames - nearest;
  attempt.script = search.nearestScript;
  attempt.script.push_back({Steer::None, noKeyTail});
  attempt.script = compactScript(attempt.script);
  return attempt;
}

const char* endingName(AttemptEnding ending) {
  switch (ending) {
    case AttemptEnding::Wrecked: return "wrecked";
    case AttemptEnding::Burnt: return "burnt";
    case AttemptEnding::Flying: return "flying";
    case AttemptEnding::Resting: return "resting";
    case AttemptEnding::Won: return "won";
  }
  return "?";
}

std::string attemptSummary(const BestAttempt& attempt, double maxGameSeconds) {
  std::string text = decimal(attempt.nearestSeconds(), 2) + " s of play, " +
                     (attempt.wayToExit ? decimal(attempt.cellsFromExit(), 1) + " cells from the exit; "
                                        : std::string("no open way to an exit; "));
  switch (attempt.ending) {
    case AttemptEnding::Wrecked:
      return text + "wrecked by the hazard at line " + std::to_string(attempt.line) + ", column " +
             std::to_string(attempt.column);
    case AttemptEnding::Burnt:
      return text + "burnt by the fire at line " + std::to_string(attempt.line) + ", column " +
             std::to_string(attempt.column);
    case AttemptEnding::Flying:
      return text + "still flying when the " + decimal(maxGameSeconds, -1) + " s of play ran out";
    case AttemptEnding::Resting:
      return text + "resting when the " + decimal(maxGameSeconds, -1) + " s of play ran out";
    case AttemptEnding::Won:
      return text + "then it drifts into the exit with no key held";
  }
  return text;
}
