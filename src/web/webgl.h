// Forced into every shared source of the web build (em++ -include): the few
// GL entry points whose desktop use WebGL or emscripten's legacy-GL emulation
// gets wrong are routed to the adaptations in webgl.cpp. The desktop's code
// and its GL calls stay as they are.
#pragma once

#include <GL/gl.h>
#include <GL/glext.h>

#ifdef __cplusplus
extern "C" {
#endif
void webBegin(GLenum mode);
void webEnd(void);
void webVertex2i(GLint x, GLint y);
void webTexCoord2i(GLint s, GLint t);
void webEnable(GLenum cap);
void webDisable(GLenum cap);
void webBindTexture(GLenum target, GLuint texture);
void webTexParameteri(GLenum target, GLenum name, GLint value);
void webTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height,
                   GLint border, GLenum format, GLenum type, const void *pixels);
void webGetIntegerv(GLenum name, GLint *value);
void webShadeModel(GLenum mode);
#ifdef __cplusplus
}
#endif

#define glBegin webBegin
#define glEnd webEnd
#define glVertex2i webVertex2i
#define glTexCoord2i webTexCoord2i
#define glEnable webEnable
#define glDisable webDisable
#define glBindTexture webBindTexture
#define glTexParameteri webTexParameteri
#define glTexImage2D webTexImage2D
#define glGetIntegerv webGetIntegerv
#define glShadeModel webShadeModel
