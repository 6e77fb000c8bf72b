#include "render/SpriteQuad.h"

#include <GL/gl.h>

#include "render/PngTexture.h"

void drawUnitSquare() {
  glNormal3f(0.0f, 0.0f, 1.0f);
  glTexCoord2f(0.0f, 1.0f);
  glVertex2f(-0.5f, -0.5f);
  glTexCoord2f(1.0f, 1.0f);
  glVertex2f(0.5f, -0.5f);
  glTexCoord2f(1.0f, 0.0f);
  glVertex2f(0.5f, 0.5f);
  glTexCoord2f(0.0f, 0.0f);
  glVertex2f(-0.5f, 0.5f);
}

void buildSpriteQuad(std::int32_t& listSlot, std::int32_t& textureSlot, const char* path) {
  if (listSlot >= 0) return;
  // The upload happens before the list opens, so it is not recorded in it.
  if (textureSlot < 0) textureSlot = static_cast<std::int32_t>(loadPngTexture(path));
  listSlot = static_cast<std::int32_t>(glGenLists(1));
  glNewList(static_cast<GLuint>(listSlot), GL_COMPILE);
  if (textureSlot >= 0) glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(textureSlot));
  glBegin(GL_QUADS);
  drawUnitSquare();
  glEnd();
  glEndList();
}

void buildSpriteQuad(std::int32_t& listSlot, std::int32_t& textureSlot, const std::string& path) {
  buildSpriteQuad(listSlot, textureSlot, path.c_str());
}
