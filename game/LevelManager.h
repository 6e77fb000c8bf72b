#pragma once
// Carries the game from level to level: loads level N from "./levels/levelN.txt" with the facts
// its fires back, advances on an exit, reloads after a loss, and ends the game as won when the
// next level's file does not open.
#include <cstdint>
#include <string>

class LevelObjectList;
struct LevelFacts;

// What a level load changes outside the simulation: the backdrop picture and the effect sound.
// The game installs one that reaches the screen painter and the sound player; headless runs
// (tests, tools) leave it unset.
class LevelMedia {
 public:
  virtual ~LevelMedia() = default;
  virtual void setBackdrop(const std::string& path) = 0;
  virtual void playEffect(const std::string& path) = 0;
};

class LevelManager {
 public:
  float advanceTimer = 0;     // seconds of the pause between loading the next level and play
  bool advancing = false;     // an advance has started and not yet ended
  std::int32_t levelNumber = 0;  // the level last asked for
  LevelMedia* media = nullptr;
  // Set by headless runs of one level: an exit ends play there, as LevelExit, with the same
  // break in the frame, but no next level is read in.
  bool staysOnExit = false;

  // Loads level n with the flames and crackle its fires back (or sets Escaped when its file does
  // not open, keeping the level shown and its facts).
  void loadLevel(std::int32_t n);
  // Loads the current level again and revives the glider into play.
  void restart();
  // Advances to the next level while GameState is LevelExit.
  void update(float dt);
  // Draws the won or lost picture over the level (defined with the rendering code).
  void drawOverlay() const;
  // True if the file at path opens (and closes) for reading.
  static bool levelFileExists(std::string path);

  static std::string levelFileName(std::int32_t n);
  static std::string backdropFileName(std::int32_t n);
  // The effect sound of a loaded level's facts: the fire crackle, or "" for silence.
  static std::string effectFileName(const LevelFacts& facts);
};

// The fire crackle of the levels that have a big fire, and the silence of the rest.
constexpr const char* kFireEffectPath = "./audio/fire.mp3";

extern LevelManager levelManager;
// The current level, owned by the level manager; null until a level file has loaded.
extern LevelObjectList* currentLevel;
