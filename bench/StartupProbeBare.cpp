// Start-up probe for a bare freeglut program: opens a window like the game's (1024 x 768, RGBA,
// double-buffered, depth), swaps one cleared frame onto it, waits for GL to finish, and prints
// "shown". startup_time measures from its fork to that line.
#include <GL/freeglut.h>

#include <cstdio>

namespace {
constexpr int kWidth = 1024, kHeight = 768;
bool swapped = false;

void display() {
  glClearColor(1, 1, 1, 1);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glutSwapBuffers();
  swapped = true;
}
}  // namespace

int main(int argc, char** argv) {
  glutInit(&argc, argv);
  glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH);
  glutInitWindowSize(kWidth, kHeight);
  glutCreateWindow("bare");
  glutPositionWindow(100, 100);
  glutDisplayFunc(display);
  while (!swapped) {
    glutMainLoopEvent();
    glutPostRedisplay();
  }
  glFinish();
  std::printf("shown\n");
  std::fflush(stdout);
  return 0;
}
