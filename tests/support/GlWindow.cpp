#include "tests/support/GlWindow.h"

#include <GL/freeglut.h>
#include <GL/glu.h>

#include <chrono>
#include <cmath>

namespace gltest {

void ensureWindow() {
  static bool created = false;
  if (created) return;
  int argc = 1;
  char name[] = "gltest";
  char* argv[] = {name, nullptr};
  glutInit(&argc, argv);
  glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH);
  glutInitWindowSize(kWidth, kHeight);
  glutCreateWindow("gltest");
  // Tests read pixels straight away: wait until the server has mapped and sized the window, so
  // the first drawing lands in a drawable of its final size.
  static bool shown = false;
  glutDisplayFunc([] { shown = true; });
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (!shown && std::chrono::steady_clock::now() < deadline) glutMainLoopEvent();
  glutDisplayFunc([] {});
  glReadBuffer(GL_BACK);
  glDrawBuffer(GL_BACK);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  created = true;
}

void applyGameView() {
  glViewport(0, 0, kWidth, kHeight);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(90.0, 4.0 / 3.0, 0.001, 200.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glTranslatef(0.0f, -37.5f, -37.5f);
}

void clear(float r, float g, float b, float a) {
  glClearColor(r, g, b, a);
  glClearDepth(1.0);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

std::array<std::uint8_t, 4> pixelAt(int x, int y) {
  std::array<std::uint8_t, 4> rgba{};
  glFinish();
  glReadPixels(x, kHeight - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
  return rgba;
}

int pixelXOfWorld(double worldX) { return static_cast<int>(std::floor((worldX + 50.0) * 10.24)); }
int pixelYOfWorld(double worldY) { return static_cast<int>(std::floor((75.0 - worldY) * 10.24)); }

}  // namespace gltest
