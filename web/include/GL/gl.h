#pragma once
// The browser's OpenGL: emscripten's fixed-function emulation over WebGL, with what it lacks
// supplied by web/GlCompat.cpp. Display lists are recorded there, and immediate-mode drawing is
// gathered there and handed on in the order the emulation accepts, so the calls that can appear
// inside a list or between glBegin and glEnd are routed through it.
#include_next <GL/gl.h>

#ifdef __cplusplus
extern "C" {
#endif
void webBindTexture(GLenum target, GLuint texture);
void webBegin(GLenum mode);
void webEnd(void);
void webNormal3f(GLfloat x, GLfloat y, GLfloat z);
void webColor4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a);
void webTexCoord2f(GLfloat s, GLfloat t);
void webVertex2f(GLfloat x, GLfloat y);
void webTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height,
                   GLint border, GLenum format, GLenum type, const void* pixels);
void webShadeModel(GLenum mode);
void webPolygonMode(GLenum face, GLenum mode);
void webHint(GLenum target, GLenum mode);
#ifdef __cplusplus
}
#endif

#ifndef ZARVOLITH_WEB_GL_REAL
#define glBindTexture webBindTexture
#define glBegin webBegin
#define glEnd webEnd
#define glNormal3f webNormal3f
#define glColor4f webColor4f
#define glTexCoord2f webTexCoord2f
#define glVertex2f webVertex2f
#define glTexImage2D webTexImage2D
#define glShadeModel webShadeModel
#define glPolygonMode webPolygonMode
#define glHint webHint
// WebGL has no border colour to clamp towards; clamping to the edge texel is the nearest it has.
#undef GL_CLAMP
#define GL_CLAMP GL_CLAMP_TO_EDGE
#endif
