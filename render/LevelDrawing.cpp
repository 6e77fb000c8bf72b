#include "render/LevelDrawing.h"

#include <GL/gl.h>

#include "game/LevelFacts.h"
#include "game/LevelObjectList.h"
#include "render/SpriteBlending.h"
#include "render/SpriteQuad.h"
#include "render/SpriteSet.h"

namespace {

// Plume geometry, world units: it starts one cell above the fire and grows to strength * 10.
constexpr float kPlumeWidth = 5.0f;
constexpr float kPlumeBase = 5.0f;
constexpr float kPlumeMaxAlpha = 0.3f;

const GlHeatPlumePainter plumePainter;

}  // namespace

void installLevelDrawing() { setHeatPlumePainter(&plumePainter); }

void GlHeatPlumePainter::drawPlume(const HeatSource& s) const {
  beginSpriteBlending();
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glTranslatef(s.x, s.y + kPlumeBase + s.strength * s.phase * 5.0f, 0.0f);
  glScalef(kPlumeWidth, s.strength * s.phase * 10.0f, 0.0f);
  glBindTexture(GL_TEXTURE_2D, spriteSet ? static_cast<GLuint>(spriteSet->texture(Sprite::heat)) : 0);
  glBegin(GL_QUADS);
  glColor4f(1.0f, 0.0f, 0.0f, (1.0f - s.phase) * kPlumeMaxAlpha);
  drawUnitSquare();
  glEnd();
  glPopMatrix();
  endSpriteBlending();
}

void LevelObjectList::drawAll() const {
  for (const LevelObject* object : objects) object->draw();
  if (facts.flameCount == 0 || !spriteSet) return;
  const Sprite frame = flameSprite(decorFrame);
  beginSpriteBlending();
  glMatrixMode(GL_MODELVIEW);
  for (int i = 0; i < facts.flameCount; ++i) {
    const DecorationFlame& flame = facts.flames[i];
    glPushMatrix();
    glTranslatef(flame.x, flame.y, 0.0f);
    glScalef(flame.width, flame.height, 0.0f);
    glCallList(static_cast<GLuint>(spriteSet->list(frame)));
    glPopMatrix();
  }
  endSpriteBlending();
}
