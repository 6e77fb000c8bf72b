// Start-up probe for a bare freeglut program: opens a window like the game's (1024 x 768, RGBA,
// double-buffered, depth), swaps one cleared frame onto it, waits for GL to finish, and prints
// "shown". startup_time measures from its fork to that line. Afterwards it prints when each of
// its steps completed, named like the game's.
#include <GL/freeglut.h>

#include <cstdio>

#include "bench/StepTimes.h"

namespace {
constexpr int kWidth = 1024, kHeight = 768;
bool swapped = false;
perf::StepTimes steps;

void display() {
  glClearColor(1, 1, 1, 1);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glutSwapBuffers();
  swapped = true;
}
}  // namespace

int main(int argc, char** argv) {
  steps.mark("loaded");
  glutInit(&argc, argv);
  steps.mark("toolkit");
  glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH);
  glutInitWindowSize(kWidth, kHeight);
  glutCreateWindow("bare");
  glutPositionWindow(100, 100);
  steps.mark("window");
  glutDisplayFunc(display);
  while (!swapped) {
    glutMainLoopEvent();
    glutPostRedisplay();
  }
  steps.mark("first frame");
  std::printf("shown\n");
  std::fflush(stdout);
  steps.print();
  return 0;
}
