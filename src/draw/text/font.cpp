// Bitmap-font text: one textured quad per character, from a 16-column atlas.
#include "draw/text/font.h"

#include <GL/gl.h>
#include <GL/glext.h>
#include <cstdarg>
#include <cstdint>
#include <cstdio>

#include "draw/scenes/slots.h"

namespace {

void fontWalk(const GLuint atlas[2], long size, double alpha, long x, long y,
              const char *format, va_list args)
{
    // Bounded: a longer text is cut at 255 characters, never written past the buffer.
    char text[256];
    if (std::vsnprintf(text, sizeof text, format, args) < 0)
        text[0] = '\0';

    const long cell = size == 0 ? 6 : 12;
    // Any index but 0 means 12-pixel cells, so it also means the 12-pixel atlas.
    const GLuint texture = atlas[size == 0 ? 0 : 1];
    // The pen lives in 16 bits: a far-off x wraps round rather than growing.
    std::int16_t penX = static_cast<std::int16_t>(x);
    const double penY = static_cast<std::int16_t>(y);

    for (const char *at = text; *at != '\0'; ++at) {
        glPushMatrix();
        glTranslated(penX, penY, 0.0);
        // Bytes from 128 up are negative codes; their cells lie left of and
        // above the atlas, where the texture's edge clamping decides the look.
        const signed char code = static_cast<signed char>(*at);
        fontRec(code % 16 * cell, code / 16 * cell, cell, texture, alpha);
        glPopMatrix();
        penX = static_cast<std::int16_t>(penX + cell);
    }
}

} // namespace

void fontA(long size, double alpha, long x, long y, const char *format, ...)
{
    va_list args;
    va_start(args, format);
    fontWalk(fontAtlasA, size, alpha, x, y, format, args);
    va_end(args);
}

void fontB(long size, double alpha, long x, long y, const char *format, ...)
{
    va_list args;
    va_start(args, format);
    fontWalk(fontAtlasB, size, alpha, x, y, format, args);
    va_end(args);
}

void fontRec(long u, long v, long cell, GLuint texture, double alpha)
{
    const GLint s = static_cast<GLint>(cell);
    const GLint left = static_cast<GLint>(u);
    const GLint top = static_cast<GLint>(v);
    glBindTexture(GL_TEXTURE_RECTANGLE_ARB, texture);
    // Modulate: the atlas keeps its colours, its alpha is scaled by this alpha.
    glColor4d(1.0, 1.0, 1.0, alpha);
    glBegin(GL_QUADS);
    // Texel rows and screen rows both grow downwards, so the glyph stands upright.
    glTexCoord2i(left, top);
    glVertex2i(0, 0);
    glTexCoord2i(left + s, top);
    glVertex2i(s, 0);
    glTexCoord2i(left + s, top + s);
    glVertex2i(s, s);
    glTexCoord2i(left, top + s);
    glVertex2i(0, s);
    glEnd();
}
