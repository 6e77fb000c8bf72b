#pragma once
// Turns mouse and keyboard events into the game's few commands: clicks leave the title and the
// instructions and end a lost game, the arrows steer and restart, Escape quits. It also tracks
// the pointer in window pixels and world units.
#include <cstdint>

class PointerInput {
 public:
  std::uint16_t buttonState[3] = {1, 1, 1};  // left, middle, right: GLUT_DOWN (0) or GLUT_UP (1)
  float worldX = 0, worldY = 0;    // pointer, world units
  float windowX = 0, windowY = 0;  // pointer, pixels from the window centre, y down

  static PointerInput* instance();

  // Mouse callback: button number, GLUT_DOWN/GLUT_UP, window pixels.
  void onButton(int button, int state, int x, int y);
  // Pointer moved with a button held / with none held, window pixels.
  void onDrag(int x, int y);
  void onMove(int x, int y);
  // Clamps a window position to the window and updates the four position fields.
  void setWindowPosition(double x, double y);
  // What a mouse button means outside the two screens: it ends a lost game.
  void onPointerButton(float worldX, float worldY);
  // Keyboard callbacks; only Escape (27) does anything.
  void keyPressed(unsigned char key, int x, int y);
  void keyReleased(unsigned char key, int x, int y);
  // Special keys: Left and Right steer while playing, Up restarts a lost level.
  void specialKeyPressed(int key, int x, int y);
  void specialKeyReleased(int key, int x, int y);

 private:
  PointerInput() = default;
};
