#pragma once
// Marks in start-up that a measurement can watch: as each step of start-up completes, its name is
// reported to the watcher, if there is one. The start-up benchmark times the steps with it.
//
// The steps, in order: "toolkit" (GLUT initialised), "window", "sprites", "screens" (the screen
// pictures and their rectangle), "audio" (the output opened), "music" (started) and "level"
// (level 1 loaded and the glider placed).

using StartupStepWatcher = void (*)(const char* step);

// Reports every later step to watcher; null stops watching (the default: no cost).
void watchStartupSteps(StartupStepWatcher watcher);

// Called by start-up as a step completes.
void startupStepDone(const char* step);
