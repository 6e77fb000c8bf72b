#pragma once
// A run's key presses as text: "R30 N12 L6" holds Right for 30 frames, nothing for 12, then Left
// for 6 (frames of 1/60 s).
#include <functional>
#include <string>
#include <vector>

#include "route/LevelRun.h"

// One key held for a number of frames.
struct InputSpan {
  Steer input = Steer::None;
  int frames = 0;
};

using InputScript = std::vector<InputSpan>;

// Joins neighbouring spans of the same key.
InputScript compactScript(const InputScript& script);
std::string formatScript(const InputScript& script);
// Parses the text form; on a bad token returns false and says which in `error`.
bool parseScript(const std::string& text, InputScript& script, std::string& error);
int scriptFrames(const InputScript& script);

struct ReplayResult {
  Outcome outcome = Outcome::Playing;
  int frames = 0;  // frames run until the outcome, or the whole script
};

// Called after each frame with the frames run so far and the glider.
using FrameObserver = std::function<void(int frame, const Glider& glider)>;

// Reads a file holding one script (a route file); false with the reason in `error` when the file
// does not open, holds no keys or holds a bad token.
bool readScriptFile(const std::string& path, InputScript& script, std::string& error);

// Plays the script from the level's start; stops at a win or a loss.
ReplayResult replayScript(LevelRun& run, const InputScript& script, FrameObserver observe = nullptr);
