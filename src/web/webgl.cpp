// The GL adaptations the forced header webgl.h routes to: rectangle textures
// on WebGL 1, which has none, and two traps of emscripten's legacy-GL
// emulation. Compiled without that header, so the names below are the
// emulation's own.
#include "webgl.h"

#undef glBegin
#undef glEnd
#undef glVertex2i
#undef glTexCoord2i
#undef glEnable
#undef glDisable
#undef glBindTexture
#undef glTexParameteri
#undef glTexImage2D
#undef glGetIntegerv
#undef glShadeModel

#include <map>
#include <utility>

#include "webgl_prepare.h"

namespace {

// A glBegin whose real call waits for the first vertex or texture coordinate.
GLenum pendingMode;
bool pending = false;

// Rectangle textures become GL_TEXTURE_2D textures of the same size; the
// two targets keep their own enable flag and binding, as on the desktop.
bool on2D = false, onRect = false;
GLuint bound2D = 0, boundRect = 0;
GLuint boundNow = 0;  // what GL_TEXTURE_2D really holds
std::map<GLuint, std::pair<GLsizei, GLsizei>> rectSizes;
GLuint scaledFor = 0;  // the rectangle texture the texture matrix is scaled for, 0 for identity

void bindReal(GLuint texture)
{
    glBindTexture(GL_TEXTURE_2D, texture);
    boundNow = texture;
}

// With both targets on, the rectangle target takes precedence, as on the desktop.
void applyTargets()
{
    if (on2D || onRect)
        glEnable(GL_TEXTURE_2D);
    else
        glDisable(GL_TEXTURE_2D);
    if (onRect)
        bindReal(boundRect);
    else if (on2D)
        bindReal(bound2D);
}

// Rectangle textures are addressed in texels, 2D ones in 0..1: the texture
// matrix scales a rectangle texture's coordinates by 1/width, 1/height.
// The program keeps the model-view matrix selected from start-up on.
void matchTextureMatrix()
{
    const bool textured = on2D || onRect;
    const auto size = rectSizes.find(boundNow);
    const GLuint wanted = textured && size != rectSizes.end() ? boundNow : 0;
    if (wanted == scaledFor)
        return;
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    if (wanted)
        glScaled(1.0 / size->second.first, 1.0 / size->second.second, 1.0);
    glMatrixMode(GL_MODELVIEW);
    scaledFor = wanted;
}

void beginNow()
{
    if (!pending)
        return;
    pending = false;
    matchTextureMatrix();
    glBegin(pendingMode);
}

} // namespace

void webPrepareGl()
{
    // The emulation ignores the texture matrix unless it was selected once
    // before the first draw.
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
}

// Inside glBegin the emulation stores a colour as part of the next vertex, so
// a colour set before the first vertex (the crosshair's) colours nothing. The
// real glBegin therefore waits for the first vertex, and a colour before it is
// the current colour that all the vertices take, as in GL.
void webBegin(GLenum mode)
{
    pendingMode = mode;
    pending = true;
}

void webEnd(void)
{
    if (pending)
        pending = false;  // nothing was drawn
    else
        glEnd();
}

void webVertex2i(GLint x, GLint y)
{
    beginNow();
    glVertex2i(x, y);
}

void webTexCoord2i(GLint s, GLint t)
{
    beginNow();
    glTexCoord2i(s, t);
}

void webEnable(GLenum cap)
{
    if (cap == GL_TEXTURE_RECTANGLE_ARB || cap == GL_TEXTURE_2D) {
        (cap == GL_TEXTURE_2D ? on2D : onRect) = true;
        applyTargets();
    } else {
        glEnable(cap);
    }
}

void webDisable(GLenum cap)
{
    if (cap == GL_TEXTURE_RECTANGLE_ARB || cap == GL_TEXTURE_2D) {
        (cap == GL_TEXTURE_2D ? on2D : onRect) = false;
        applyTargets();
    } else {
        glDisable(cap);
    }
}

// The last texture bound is the one uploads and parameters go to, whatever
// is enabled; drawing then uses the enabled target's.
void webBindTexture(GLenum target, GLuint texture)
{
    (target == GL_TEXTURE_RECTANGLE_ARB ? boundRect : bound2D) = texture;
    bindReal(texture);
}

void webTexParameteri(GLenum target, GLenum name, GLint value)
{
    if (target == GL_TEXTURE_RECTANGLE_ARB) {
        // WebGL 1 samples a texture whose sides are not powers of two only
        // when it does not repeat; a rectangle texture never does anyway.
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    }
    glTexParameteri(GL_TEXTURE_2D, name, value);
}

void webTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height,
                   GLint border, GLenum format, GLenum type, const void *pixels)
{
    if (target == GL_TEXTURE_RECTANGLE_ARB)
        rectSizes[boundNow] = {width, height};
    glTexImage2D(GL_TEXTURE_2D, level, internalFormat, width, height, border, format, type, pixels);
}

// A rectangle texture is a 2D texture here, so it may be as large as one.
void webGetIntegerv(GLenum name, GLint *value)
{
    glGetIntegerv(name == GL_MAX_RECTANGLE_TEXTURE_SIZE_ARB ? GL_MAX_TEXTURE_SIZE : name, value);
}

// Every primitive the program draws has one colour, so flat and smooth
// shading draw alike; the emulation only warns about the call.
void webShadeModel(GLenum) {}
