#include "render/LevelDrawing.h"

#include <GL/gl.h>

#include "game/LevelManager.h"
#include "game/LevelObjectList.h"
#include "render/SpriteBlending.h"
#include "render/SpriteQuad.h"
#include "render/SpriteSet.h"

namespace {

// Plume geometry, world units: it starts one cell above the fire and grows to strength * 10.
constexpr float kPlumeWidth = 5.0f;
constexpr float kPlumeBase = 5.0f;
constexpr float kPlumeMaxAlpha = 0.3f;

constexpr DecorationFlame kLevel2Flames[] = {{30.0f, 9.5f, 15.0f, 20.0f}};
constexpr DecorationFlame kLevel3Flames[] = {{36.5f, 13.5f, 30.0f, 40.0f}};
constexpr DecorationFlame kLevel4Flames[] = {{7.5f, 32.5f, 5.0f, 5.0f}, {-17.5f, 32.5f, 5.0f, 5.0f}};
constexpr DecorationFlame kLevel5Flames[] = {{2.5f, 51.5f, 5.0f, 5.0f}, {-22.5f, 51.5f, 5.0f, 5.0f}};

const GlHeatPlumePainter plumePainter;

}  // namespace

void installLevelDrawing() { setHeatPlumePainter(&plumePainter); }

int decorationFlames(int levelNumber, const DecorationFlame** flames) {
  switch (levelNumber) {
    case 2: *flames = kLevel2Flames; return 1;
    case 3: *flames = kLevel3Flames; return 1;
    case 4: *flames = kLevel4Flames; return 2;
    case 5: *flames = kLevel5Flames; return 2;
    default: *flames = nullptr; return 0;
  }
}

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
  const DecorationFlame* flames = nullptr;
  const int count = decorationFlames(levelManager.levelNumber, &flames);
  if (count == 0 || !spriteSet) return;
  const Sprite frame = flameSprite(decorFrame);
  beginSpriteBlending();
  glMatrixMode(GL_MODELVIEW);
  for (int i = 0; i < count; ++i) {
    glPushMatrix();
    glTranslatef(flames[i].x, flames[i].y, 0.0f);
    glScalef(flames[i].width, flames[i].height, 0.0f);
    glCallList(static_cast<GLuint>(spriteSet->list(frame)));
    glPopMatrix();
  }
  endSpriteBlending();
}
