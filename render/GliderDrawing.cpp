// The glider's picture: its sprite, mirrored when it faces left, tilted with its nose, swapped for
// the wreck when crashed, and topped by an upright flame while burning.
#include <GL/gl.h>

#include "game/Glider.h"
#include "render/SpriteBlending.h"
#include "render/SpriteSet.h"

namespace {
// The flame, in the glider's unit square: raised by 0.6 and twice as tall.
constexpr float kFlameRise = 0.6f;
constexpr float kFlameStretch = 2.0f;

void callSprite(Sprite s) {
  if (spriteSet) glCallList(static_cast<GLuint>(spriteSet->list(s)));
}
}  // namespace

void Glider::draw() const {
  beginSpriteBlending();
  float turn = 0.0f;
  if (facingLeft) {
    glCullFace(GL_FRONT);  // the half-turn shows the quad's back, which is otherwise culled
    turn = 180.0f;
  }
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glTranslatef(x, y, 0.0f);
  glScalef(kGliderSpriteWidth, kGliderSpriteHeight, 0.0f);
  glRotatef(turn, 0.0f, 1.0f, 0.0f);
  glRotatef(tilt, 0.0f, 0.0f, 1.0f);
  if (mode == Crashed) {
    callSprite(Sprite::gliderCrashed);
  } else {
    callSprite(Sprite::glider);
  }
  if (mode == Burning) {
    glRotatef(-tilt, 0.0f, 0.0f, 1.0f);  // the flame stands upright whatever the tilt
    glTranslatef(0.0f, kFlameRise, 0.0f);
    glScalef(1.0f, kFlameStretch, 0.0f);
    callSprite(flameSprite(flameFrame));
  }
  glPopMatrix();
  if (facingLeft) glCullFace(GL_BACK);
  endSpriteBlending();
}
