#include "app/GameShell.h"

#include <GL/freeglut.h>

#include <string>
#include <utility>
#include <vector>

#include "app/FrameClock.h"
#include "app/PointerInput.h"
#include "app/ViewCamera.h"
#include "game/LevelManager.h"
#include "game/LevelObjectList.h"
#include "render/ScreenPainter.h"
#include "render/PngPrefetch.h"
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

// Every picture start-up loads, decoded while the display server creates the window.
void prefetchStartupPictures() {
  std::vector<std::string> paths;
  for (int i = 0; i < kSpriteCount; ++i) paths.push_back(SpriteSet::imagePath(static_cast<Sprite>(i)));
  for (const char* screen : ScreenPainter::imagePaths()) paths.push_back(screen);
  paths.push_back(LevelManager::backdropFileName(1));
  prefetchPictures(std::move(paths));
}

}  // namespace

void startGame(int* argc, char** argv) {
  prefetchStartupPictures();
  glutInit(argc, argv);
  glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH);
  glutInitWindowSize(kWindowWidth, kWindowHeight);
  glutCreateWindow(kWindowTitle);
  glutPositionWindow(kWindowX, kWindowY);
  spriteSet = new SpriteSet();
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
