#include "app/PointerInput.h"

#include <GL/freeglut.h>

#include "app/Platform.h"
#include "app/ViewCamera.h"
#include "game/GameState.h"
#include "game/LevelManager.h"
#include "game/SteeringControl.h"

namespace {
constexpr unsigned char kEscapeKey = 27;
}

PointerInput* PointerInput::instance() {
  static PointerInput* input = nullptr;
  if (!input) input = new PointerInput();
  return input;
}

void PointerInput::onButton(int button, int state, int, int) {
  if (button >= 0 && button <= 2) buttonState[button] = static_cast<std::uint16_t>(state);
  if (state == GLUT_DOWN) {
    if (GameState == Title) {
      GameState = Instructions;
      return;
    }
    if (GameState == Instructions) {
      GameState = Playing;
      platform.clearBuffers();
      return;
    }
  }
  onPointerButton(worldX, worldY);
}

void PointerInput::onDrag(int x, int y) { setWindowPosition(x, y); }
void PointerInput::onMove(int x, int y) { setWindowPosition(x, y); }

void PointerInput::setWindowPosition(double x, double y) {
  const ViewCamera& camera = *ViewCamera::instance();
  const int w = camera.width();
  const int h = camera.height();
  if (x < 0) x = 0;
  if (x > w) x = w;
  if (y < 0) y = 0;
  if (y > h) y = h;
  windowX = static_cast<float>(x - w / 2);
  windowY = static_cast<float>(y - h / 2);
  const double s = 1.0 / (h / 2);
  worldX = static_cast<float>(camera.visibleHalfHeight() * (windowX * s) - camera.translationX());
  worldY = static_cast<float>(camera.visibleHalfHeight() * -(windowY * s) - camera.translationY());
}

void PointerInput::onPointerButton(float, float) {
  if (GameState == Lost) platform.endGame();
}

void PointerInput::keyPressed(unsigned char key, int, int) {
  if (key == kEscapeKey) platform.endGame();
}

void PointerInput::keyReleased(unsigned char, int, int) {}

void PointerInput::specialKeyPressed(int key, int, int) {
  if (GameState == Playing) {
    if (key == GLUT_KEY_RIGHT) steeringControl.press(true);
    if (key == GLUT_KEY_LEFT) steeringControl.press(false);
  } else if (GameState == Lost && key == GLUT_KEY_UP) {
    levelManager.restart();
  }
}

void PointerInput::specialKeyReleased(int key, int, int) {
  if (GameState == Playing && (key == GLUT_KEY_RIGHT || key == GLUT_KEY_LEFT)) steeringControl.release();
}
