#include "app/Platform.h"

#include <GL/freeglut.h>

namespace {

std::uint32_t glutElapsedMs() { return static_cast<std::uint32_t>(glutGet(GLUT_ELAPSED_TIME)); }
void glClearBuffers() { glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT); }
void glutSwap() { glutSwapBuffers(); }
void glutReshape(int width, int height) { glutReshapeWindow(width, height); }

// Escape, a click after a loss and a close can all arrive in one burst of events: the window is
// destroyed once, and later requests find nothing left to destroy.
void glutEndGame() {
  static bool ended = false;
  if (ended) return;
  const int window = glutGetWindow();
  if (window == 0) return;
  ended = true;
  glutDestroyWindow(window);
}

constexpr Platform kGlutPlatform = {glutElapsedMs, glClearBuffers, glutSwap, glutReshape, glutEndGame};

}  // namespace

Platform platform = kGlutPlatform;

void resetPlatform() { platform = kGlutPlatform; }
