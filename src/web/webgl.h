// Forced into every shared source of the web build (em++ -include): each GL
// 1.x entry point the program calls is routed to the page's own GL layer
// (matrix.cpp, immediate.cpp, gl_state.cpp), which batches the immediate
// mode into WebGL draws (device.js). The desktop's code and its GL calls
// stay as they are.
//
// Any other GL call fails the page's build: every function GL's headers
// declare is disabled here (clang's enable_if, never true: "no matching
// function ... candidate disabled: not routed"), and the routed names below
// are macros that never reach those declarations. The page's compiler, em++,
// is clang; a host compiler without clang's attribute pragma (the layer's
// own test builds) gets the routes alone. Checked by web_layer_refuses_unrouted.
#pragma once

#if defined(__clang__)
#pragma clang attribute push(__attribute__((enable_if(false, "not routed by the page's GL layer (src/web/webgl.h)"))), \
                             apply_to = function)
#endif
#include <GL/gl.h>
#include <GL/glext.h>
#if defined(__clang__)
#pragma clang attribute pop
#endif

#ifdef __cplusplus
extern "C" {
#endif
void webMatrixMode(GLenum mode);
void webLoadIdentity(void);
void webPushMatrix(void);
void webPopMatrix(void);
void webTranslated(GLdouble x, GLdouble y, GLdouble z);
void webRotated(GLdouble angle, GLdouble x, GLdouble y, GLdouble z);
void webScaled(GLdouble x, GLdouble y, GLdouble z);
void webOrtho(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble near, GLdouble far);
void webBegin(GLenum mode);
void webEnd(void);
void webVertex2i(GLint x, GLint y);
void webTexCoord2i(GLint s, GLint t);
void webColor3d(GLdouble red, GLdouble green, GLdouble blue);
void webColor4d(GLdouble red, GLdouble green, GLdouble blue, GLdouble alpha);
void webEnable(GLenum cap);
void webDisable(GLenum cap);
void webBlendFunc(GLenum source, GLenum destination);
void webShadeModel(GLenum mode);
void webClearColor(GLclampf red, GLclampf green, GLclampf blue, GLclampf alpha);
void webClear(GLbitfield mask);
void webGenTextures(GLsizei count, GLuint *names);
void webBindTexture(GLenum target, GLuint texture);
void webTexParameteri(GLenum target, GLenum name, GLint value);
void webTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height,
                   GLint border, GLenum format, GLenum type, const void *pixels);
void webGetIntegerv(GLenum name, GLint *value);
GLenum webGetError(void);
#ifdef __cplusplus
}
#endif

#define glMatrixMode webMatrixMode
#define glLoadIdentity webLoadIdentity
#define glPushMatrix webPushMatrix
#define glPopMatrix webPopMatrix
#define glTranslated webTranslated
#define glRotated webRotated
#define glScaled webScaled
#define glOrtho webOrtho
#define glBegin webBegin
#define glEnd webEnd
#define glVertex2i webVertex2i
#define glTexCoord2i webTexCoord2i
#define glColor3d webColor3d
#define glColor4d webColor4d
#define glEnable webEnable
#define glDisable webDisable
#define glBlendFunc webBlendFunc
#define glShadeModel webShadeModel
#define glClearColor webClearColor
#define glClear webClear
#define glGenTextures webGenTextures
#define glBindTexture webBindTexture
#define glTexParameteri webTexParameteri
#define glTexImage2D webTexImage2D
#define glGetIntegerv webGetIntegerv
#define glGetError webGetError
