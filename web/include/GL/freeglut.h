#pragma once
// The browser's GLUT: emscripten's, plus the few freeglut extensions the game calls, which
// web/glut_extras.js supplies.
#include <GL/glut.h>

#include <stdarg.h>

#ifdef __cplusplus
extern "C" {
#endif
void glutCloseFunc(void (*callback)(void));
void glutInitErrorFunc(void (*callback)(const char* format, va_list arguments));
#ifdef __cplusplus
}
#endif
