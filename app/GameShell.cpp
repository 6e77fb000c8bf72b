#include "app/GameShell.h"

#include <GL/freeglut.h>
#ifdef __GLIBC__
#include <malloc.h>
#endif

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

#include "app/FrameClock.h"
#include "app/PointerInput.h"
#include "app/StartupSteps.h"
#include "app/ViewCamera.h"
#include "game/LevelManager.h"
#include "game/LevelObjectList.h"
#include "render/SpriteSet.h"

namespace {

constexpr const char* kWindowTitle = "Zarvolith";
constexpr int kWindowX = 100, kWindowY = 100;

void onReshape(int width, int height) { ViewCamera::instance()->reshape(width, height); }
void onDisplay() { FrameClock::instance()->displayFrame(); }
void onIdle() {
  FrameClock::instance();
  glutPostRedisplay();
}
void onDrag(int x, int y) { PointerInput::instance()->onDrag(x, y); }
void onMove(int x, int y) { PointerInput::instance()->onMove(x, y); }
void onMouse(int button, int state, int x, int y) { PointerInput::instance()->onButton(button, state, x, y); }
void onKey(unsigned char key, int x, int y) { PointerInput::instance()->keyPressed(key, x, y); }
void onKeyUp(unsigned char key, int x, int y) { PointerInput::instance()->keyReleased(key, x, y); }
void onSpecial(int key, int x, int y) { PointerInput::instance()->specialKeyPressed(key, x, y); }
void onSpecialUp(int key, int x, int y) { PointerInput::instance()->specialKeyReleased(key, x, y); }

void registerCallbacks() {
  glutReshapeFunc(onReshape);
  glutDisplayFunc(onDisplay);
  glutIdleFunc(onIdle);
  glutMotionFunc(onDrag);
  glutPassiveMotionFunc(onMove);
  glutMouseFunc(onMouse);
  glutKeyboardFunc(onKey);
  glutKeyboardUpFunc(onKeyUp);
  glutSpecialFunc(onSpecial);
  glutSpecialUpFunc(onSpecialUp);
  glutCloseFunc(closeGame);
}

// The toolkit's fatal errors (no display to open, no GL on it) end the game at once with one line
// on stderr and status 1.
void onToolkitError(const char* format, va_list arguments) {
  char message[512];
  std::vsnprintf(message, sizeof message, format, arguments);
  std::fprintf(stderr, "zarvolith: %s\n", message);
  std::exit(1);
}

#ifdef __GLIBC__
// Level loads make and free blocks of a few hundred KiB (the effect sound's samples, file
// buffers). A fixed threshold keeps every block of 512 KiB or more in its own mapping, returned
// when freed, so resident memory stays flat over restarts; glibc's adaptive threshold would move
// them into the heap after the first free.
constexpr int kMmapThresholdBytes = 512 * 1024;
#endif

}  // namespace

void startGame(int* argc, char** argv) {
#ifdef __GLIBC__
  mallopt(M_MMAP_THRESHOLD, kMmapThresholdBytes);
#endif
  glutInitErrorFunc(onToolkitError);
  glutInit(argc, argv);
  startupStepDone("toolkit");
  glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH);
  glutInitWindowSize(kWindowWidth, kWindowHeight);
  glutCreateWindow(kWindowTitle);
  glutPositionWindow(kWindowX, kWindowY);
  startupStepDone("window");
  spriteSet = new SpriteSet();
  startupStepDone("sprites");
  registerCallbacks();
  glutIgnoreKeyRepeat(1);
  FrameClock::instance()->initialiseGame();
}

void closeGame() {
  // The toolkit may still run the idle callback before it ends the process: stop it from asking
  // for frames (and from creating a new clock) once the window is gone.
  glutIdleFunc(nullptr);
  FrameClock::destroy();
  delete spriteSet;
  spriteSet = nullptr;
  delete currentLevel;
  currentLevel = nullptr;
}
