#pragma once
// The drawing state every sprite and blended picture is drawn in: texturing, alpha blending and
// an alpha test that drops fully transparent texels; and the state every drawing leaves behind:
// all three off and the colour opaque white, which the next drawing relies on.
#include <GL/gl.h>

inline void beginSpriteBlending() {
  glEnable(GL_TEXTURE_2D);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glEnable(GL_ALPHA_TEST);
  glAlphaFunc(GL_GREATER, 0.0f);
}

inline void endSpriteBlending() {
  glDisable(GL_ALPHA_TEST);
  glDisable(GL_BLEND);
  glDisable(GL_TEXTURE_2D);
  glColor4f(1, 1, 1, 1);
}
