#include "render/ScreenPainter.h"

#include <GL/gl.h>

#include <cmath>

#include "render/PngTexture.h"
#include "render/SpriteBlending.h"
#include "render/SpriteQuad.h"

namespace {
// True for a loaded texture without an alpha channel: every texel is opaque.
bool hasNoAlpha(std::int32_t texture) {
  if (texture <= 0) return false;
  GLint previous = 0, alphaBits = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &previous);
  glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(texture));
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_ALPHA_SIZE, &alphaBits);
  glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(previous));
  return alphaBits == 0;
}
}  // namespace

ScreenPainter* ScreenPainter::instance() {
  static ScreenPainter* painter = nullptr;
  if (!painter) painter = new ScreenPainter();
  return painter;
}

void ScreenPainter::loadImages() {
  if (backgroundList < 0) {
    backgroundTexture = -1;
    buildSpriteQuad(backgroundList, backgroundTexture, "./images/background.png");
    backgroundOpaque = hasNoAlpha(backgroundTexture);
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
  // Most loads swap one backdrop for another of the same size: reloading the texture in place lets
  // the GL driver keep its storage, so restarts neither allocate nor fragment memory. The list
  // already binds this texture.
  const bool reloadable = backgroundList >= 0 && backgroundTexture > 0 &&
                          glIsTexture(static_cast<GLuint>(backgroundTexture));
  if (reloadable && reloadPngTexture(static_cast<unsigned int>(backgroundTexture), path.c_str())) {
    backgroundOpaque = hasNoAlpha(backgroundTexture);
    return;
  }
  // The abandoned picture is never drawn again: free it so restarts do not pile up GL objects.
  if (backgroundList >= 0) glDeleteLists(static_cast<GLuint>(backgroundList), 1);
  if (backgroundTexture > 0) {
    const GLuint name = static_cast<GLuint>(backgroundTexture);
    glDeleteTextures(1, &name);
  }
  backgroundList = -1;
  // A file the reload could not decode is not read (nor reported) again: the new list binds no
  // picture and draws a plain square, as any missing picture does.
  backgroundTexture = reloadable ? 0 : -1;
  buildSpriteQuad(backgroundList, backgroundTexture, path);
  backgroundOpaque = hasNoAlpha(backgroundTexture);
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

// An opaque picture drawn in opaque white blends to itself and passes the alpha test everywhere:
// drawing it without either gives the same pixels for less work on a software renderer.
void ScreenPainter::drawBackground(float) const { drawPicture(backgroundList, !backgroundOpaque); }

void ScreenPainter::drawPicture(std::int32_t list, bool blended) const {
  if (blended) {
    beginSpriteBlending();
  } else {
    glEnable(GL_TEXTURE_2D);
  }
  glColor4f(1, 1, 1, 1);
  placeAndCall(list);
  endSpriteBlending();
}

void ScreenPainter::drawTitle() const { drawPicture(titleList, false); }
void ScreenPainter::drawInstructions() const { drawPicture(instructionsList, false); }
