#pragma once
// The frame clock turns the toolkit's millisecond counter into each frame's time step, capped at
// 0.12 s. It is also the game's frame object: one-time initialisation, the simulation step and the
// body of the display callback.
#include <cstdint>

// Longest frame step, seconds. A longer gap (a stall, a dragged window) is cut to this and the
// buffers are cleared, so the next step does not make up the lost time in one jump.
constexpr double kMaxFrameStep = 0.12;

class FrameClock {
 public:
  std::uint32_t previousMs;   // counter reading at the previous tick (or at creation)
  std::uint32_t currentMs = 0;  // counter reading at the latest tick
  double dtSeconds = 0;       // the frame step, seconds
  bool started = false;       // true once initialiseGame has finished

  // The clock, created on first use with its first reading.
  static FrameClock* instance();
  // Deletes the clock (the window's close); a later instance() makes a new one.
  static void destroy();

  // Measures this frame's step; clears the buffers when the step is capped.
  void tick();
  // The latest frame step, seconds.
  double deltaSeconds() const { return dtSeconds; }

  // The one-time set-up after the window exists: GL state, pictures, sound, level 1.
  void initialiseGame();
  // One simulation step with the current frame step.
  void updateGame();
  // The body of the display callback: one frame of whatever state the game is in.
  void displayFrame();

 private:
  FrameClock();
  void drawLevelFrame();
  static FrameClock* current;
};
