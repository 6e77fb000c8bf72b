// The picture over the level when the game is won or lost.
#include <GL/gl.h>

#include "game/GameState.h"
#include "game/LevelManager.h"
#include "render/SpriteBlending.h"
#include "render/SpriteSet.h"

namespace {
// Centre of the overlay, world units: across the middle, 2.5 below half height.
constexpr float kOverlayX = 0.0f;
constexpr float kOverlayY = 35.0f;
constexpr float kOverlayWidth = 60.0f;
constexpr float kEscapeHeight = 15.0f;
constexpr float kLostHeight = 30.0f;

// Drawn in the current colour, which the glider's drawing left at opaque white.
void drawOverlayPicture(Sprite picture, float height) {
  beginSpriteBlending();
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glTranslatef(kOverlayX, kOverlayY, 0.0f);
  glScalef(kOverlayWidth, height, 0.0f);
  if (spriteSet) glCallList(static_cast<GLuint>(spriteSet->list(picture)));
  glPopMatrix();
  endSpriteBlending();
}
}  // namespace

void LevelManager::drawOverlay() const {
  if (GameState == Escaped) drawOverlayPicture(Sprite::escape, kEscapeHeight);
  if (GameState == Lost) drawOverlayPicture(Sprite::lost, kLostHeight);
}
