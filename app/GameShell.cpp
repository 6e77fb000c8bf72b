#include "app/GameShell.h"

#include <GL/freeglut.h>
#include <malloc.h>

#include <string>
#include <utility>
#include <vector>

#include "app/FrameClock.h"
#include "app/PointerInput.h"
#include "app/StartupSteps.h"
#include "app/ViewCamera.h"
#include "game/LevelManager.h"
#include "game/LevelObjectList.h"
#include "render/ScreenPainter.h"
#include "render/PngPrefetch.h"
#include "render/SpriteSet.h"
#include "sound/AudioOutput.h"

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

// Every picture start-up loads, decoded while the display server creates the window, after the
// sound libraries that the audio output will open later in start-up.
void prefetchStartupPictures() {
  std::vector<std::string> paths;
  for (int i = 0; i < kSpriteCount; ++i) paths.push_back(SpriteSet::imagePath(static_cast<Sprite>(i)));
  for (const char* screen : ScreenPainter::imagePaths()) paths.push_back(screen);
  paths.push_back(LevelManager::backdropFileName(1));
  prefetchPictures(std::move(paths), AudioOutput::prepare);
}

// Level loads make and free blocks of a few hundred KiB (the effect sound's samples, file buffers).
// glibc raises its mmap threshold the first time it frees such a block, after which they come from
// the heap, land somewhere new on the next loads and touch fresh pages: resident memory crept up by
// about 1 MiB over the first restarts. A fixed threshold keeps every block of 512 KiB or more in
// its own mapping, returned when freed. The page faults cost about 1 ms per level load.
constexpr int kMmapThresholdBytes = 512 * 1024;

}  // namespace

void startGame(int* argc, char** argv) {
  mallopt(M_MMAP_THRESHOLD, kMmapThresholdBytes);
  prefetchStartupPictures();
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
  discardPrefetchedPictures();
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
