#include "render/ScreenPainter.h"

#include <GL/gl.h>

#include <cmath>

#include "render/SpriteQuad.h"

ScreenPainter* ScreenPainter::instance() {
  static ScreenPainter* painter = nullptr;
  if (!painter) painter = new ScreenPainter();
  return painter;
}

void ScreenPainter::loadImages() {
  if (backgroundList < 0) {
    backgroundTexture = -1;
    buildSpriteQuad(backgroundList, backgroundTexture, "./images/background.png");
  }
  std::int32_t titleTexture = -1;
  std::int32_t instructionsTexture = -1;
  buildSpriteQuad(titleList, titleTexture, "./images/titlescreen.png");
  buildSpriteQuad(instructionsList, instructionsTexture, "./images/instructions.png");
}

void ScreenPainter::setBounds(double newTop, double newRight, double newBottom, double newLeft) {
  top = newTop;
  right = newRight;
  bottom = newBottom;
  left = newLeft;
}

void ScreenPainter::setBackdrop(std::string path) {
  // The abandoned picture is never drawn again: free it so restarts do not pile up GL objects.
  if (backgroundList >= 0) glDeleteLists(static_cast<GLuint>(backgroundList), 1);
  if (backgroundTexture > 0) {
    const GLuint name = static_cast<GLuint>(backgroundTexture);
    glDeleteTextures(1, &name);
  }
  backgroundList = -1;
  backgroundTexture = -1;
  buildSpriteQuad(backgroundList, backgroundTexture, path);
}

// Centres the unit quad on the rectangle and stretches it over the rectangle's whole-number size.
void ScreenPainter::placeAndCall(std::int32_t list) const {
  const double scaleX = std::fabs(std::trunc(left - right));
  const double scaleY = std::fabs(std::trunc(top - bottom));
  glPushMatrix();
  glTranslatef(static_cast<float>((left + right) / 2), static_cast<float>((bottom + top) / 2), 0.0f);
  glScalef(static_cast<float>(scaleX), static_cast<float>(scaleY), 1.0f);
  glCallList(static_cast<GLuint>(list));
  glPopMatrix();
}

void ScreenPainter::drawBackground(float) const {
  glEnable(GL_TEXTURE_2D);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glEnable(GL_ALPHA_TEST);
  glAlphaFunc(GL_GREATER, 0.0f);
  glColor4f(1, 1, 1, 1);
  placeAndCall(backgroundList);
  glDisable(GL_ALPHA_TEST);
  glDisable(GL_BLEND);
  glDisable(GL_TEXTURE_2D);
  glColor4f(1, 1, 1, 1);
}

void ScreenPainter::drawOpaque(std::int32_t list) const {
  glEnable(GL_TEXTURE_2D);
  glColor4f(1, 1, 1, 1);
  placeAndCall(list);
  glDisable(GL_TEXTURE_2D);
  glColor4f(1, 1, 1, 1);
}

void ScreenPainter::drawTitle() const { drawOpaque(titleList); }
void ScreenPainter::drawInstructions() const { drawOpaque(instructionsList); }
