#pragma once
// The few toolkit and GL calls whose effects the game's logic depends on, behind function pointers
// so tests can observe them (the elapsed clock, buffer clears, swaps, window size and destruction).
#include <cstdint>

struct Platform {
  std::uint32_t (*elapsedMs)();        // milliseconds since the toolkit started
  void (*clearBuffers)();              // clears colour and depth
  void (*swapBuffers)();
  void (*reshapeWindow)(int width, int height);  // asks the toolkit for a window size, pixels
  void (*endGame)();                   // destroys the window, which ends the game
};

// The real calls through GLUT and OpenGL.
extern Platform platform;
// Restores the real calls (tests that substituted some of them).
void resetPlatform();
