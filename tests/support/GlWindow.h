#pragma once
// A real 1024 by 768 freeglut window with a GL context, created once per test process, for tests
// that draw and read pixels back. Needs a display (the test runner provides Xvfb).
#include <GL/gl.h>

#include <array>
#include <cstdint>

namespace gltest {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;

// Creates the window on first use and makes its context current.
void ensureWindow();

// Puts the projection and model-view matrices in the game's view: world x -50..50 and y 0..75
// fill the window, model-view selected.
void applyGameView();

// Clears colour and depth to the given colour.
void clear(float r, float g, float b, float a = 1.0f);

// The RGBA colour at window pixel (x, y), counted from the top-left corner like X does.
std::array<std::uint8_t, 4> pixelAt(int x, int y);

// Window pixel of a world point under the game's view (10.24 pixels per unit).
int pixelXOfWorld(double worldX);
int pixelYOfWorld(double worldY);

}  // namespace gltest
