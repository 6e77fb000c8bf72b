// Zarvolith: steer a paper glider through walls, hazards and fires to each level's exit.
#include <GL/freeglut.h>

#include "app/GameShell.h"

int main(int argc, char** argv) {
  startGame(&argc, argv);
  glutMainLoop();
  return 0;
}
