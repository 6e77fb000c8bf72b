#include "app/FrameClock.h"

#include <GL/gl.h>

#include "app/GameMedia.h"
#include "app/Platform.h"
#include "app/StartupSteps.h"
#include "app/ViewCamera.h"
#include "game/GameState.h"
#include "game/Glider.h"
#include "game/LevelManager.h"
#include "game/LevelObjectList.h"
#include "game/Simulation.h"
#include "render/LevelDrawing.h"
#include "render/ScreenPainter.h"
#include "sound/SoundPlayer.h"

namespace {
constexpr const char* kMusicPath = "./audio/backgroundmusic.mp3";
// The screen rectangle in world units: the level's whole area.
constexpr double kScreenTop = 75, kScreenRight = 50, kScreenBottom = 0, kScreenLeft = -50;

void setFixedGlState() {
  glShadeModel(GL_FLAT);
  glPolygonMode(GL_FRONT, GL_FILL);
  glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
  glEnable(GL_CULL_FACE);
  glFrontFace(GL_CCW);
  glCullFace(GL_BACK);
  glClearDepth(1.0);
  glDepthFunc(GL_LEQUAL);
  glEnable(GL_DEPTH_TEST);
  glClearColor(1, 1, 1, 1);
}
}  // namespace

FrameClock* FrameClock::current = nullptr;

FrameClock::FrameClock() : previousMs(platform.elapsedMs()) {}

FrameClock* FrameClock::instance() {
  if (!current) current = new FrameClock();
  return current;
}

void FrameClock::destroy() {
  delete current;
  current = nullptr;
}

void FrameClock::tick() {
  currentMs = platform.elapsedMs();
  const std::uint32_t elapsed = currentMs - previousMs;  // unsigned: survives the counter's wrap
  const double step = elapsed * 0.001;
  if (step > kMaxFrameStep) {
    dtSeconds = kMaxFrameStep;
    platform.clearBuffers();
  } else {
    dtSeconds = step;
  }
  previousMs = currentMs;
}

void FrameClock::initialiseGame() {
  // Level loads reach the backdrop and the effect sound, and fires draw their plumes.
  levelManager.media = &GameMedia::instance();
  installLevelDrawing();

  setFixedGlState();
  ScreenPainter::instance()->loadImages();
  ScreenPainter::instance()->setBounds(kScreenTop, kScreenRight, kScreenBottom, kScreenLeft);
  startupStepDone("screens");
  SoundPlayer::instance()->initialiseAudio();
  startupStepDone("audio");
  SoundPlayer::instance()->playMusic(kMusicPath);
  startupStepDone("music");
  GameState = Title;
  levelManager.loadLevel(1);
  if (currentLevel) currentLevel->placeGlider(glider);
  startupStepDone("level");
  started = true;
}

void FrameClock::updateGame() { simulateFrame(static_cast<float>(deltaSeconds())); }

void FrameClock::displayFrame() {
  glPushMatrix();
  tick();
  if (GameState != Playing) platform.clearBuffers();
  if (GameState == Title || GameState == Instructions) {
    if (GameState == Title) {
      ScreenPainter::instance()->drawTitle();
    } else {
      ScreenPainter::instance()->drawInstructions();
    }
    platform.swapBuffers();
    glPopMatrix();
    return;
  }
  if (started) updateGame();
  drawLevelFrame();
  platform.swapBuffers();
  glPopMatrix();
}

// Back to front: backdrop, level objects and decorations, glider, won or lost picture. With no
// level loaded only the backdrop and the overlay show.
void FrameClock::drawLevelFrame() {
  ViewCamera::instance()->applyView();
  ScreenPainter::instance()->drawBackground(static_cast<float>(deltaSeconds()));
  if (currentLevel) {
    currentLevel->drawAll();
    glider.draw();
  }
  levelManager.drawOverlay();
}
