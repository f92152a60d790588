// The five shape primitives and the texturing switches.
#include "draw/scenes/primitives.h"

#include <GL/glext.h>
#include <cmath>

void redOutlineSquare()
{
    glColor3d(1.0, 0.0, 0.0);
    glBegin(GL_LINE_LOOP);
    glVertex2i(0, 0);
    glVertex2i(64, 0);
    glVertex2i(64, 64);
    glVertex2i(0, 64);
    glEnd();
}

void filledSquare(double red, double green, double blue, double alpha)
{
    glColor4d(red, green, blue, alpha);
    glBegin(GL_QUADS);
    glVertex2i(0, 0);
    glVertex2i(64, 0);
    glVertex2i(64, 64);
    glVertex2i(0, 64);
    glEnd();
}

void redOutlineCircle(int count, double alpha)
{
    glColor4d(1.0, 0.0, 0.0, alpha);
    glBegin(GL_LINE_LOOP);
    for (int i = 0; i < count; ++i) {
        // A full turn of 6.28, not 2 pi: the closing edge is a little longer.
        const double angle = (static_cast<double>(i) * 6.28) / static_cast<double>(count);
        const double y = std::sin(angle) * 32.0 + 32.0;
        const double x = std::cos(angle) * 32.0 + 32.0;
        glVertex2i(static_cast<GLint>(x), static_cast<GLint>(y));
    }
    glEnd();
}

void texturedSquare(double alpha, GLuint texture)
{
    glBindTexture(GL_TEXTURE_2D, texture);
    // The default modulate environment multiplies texel alpha by this alpha.
    glColor4d(1.0, 1.0, 1.0, alpha);
    glBegin(GL_QUADS);
    glTexCoord2i(0, 0);
    glVertex2i(0, 0);
    glTexCoord2i(1, 0);
    glVertex2i(64, 0);
    glTexCoord2i(1, 1);
    glVertex2i(64, 64);
    glTexCoord2i(0, 1);
    glVertex2i(0, 64);
    glEnd();
}

void rectTexturedSquare(double alpha, GLuint texture, int n)
{
    glBindTexture(GL_TEXTURE_RECTANGLE_ARB, texture);
    glColor4d(1.0, 1.0, 1.0, alpha);
    glBegin(GL_QUADS);
    glTexCoord2i(0, 0);
    glVertex2i(0, 0);
    glTexCoord2i(n, 0);
    glVertex2i(n, 0);
    glTexCoord2i(n, n);
    glVertex2i(n, n);
    glTexCoord2i(0, n);
    glVertex2i(0, n);
    glEnd();
}

void identityAndTexturesOn()
{
    glLoadIdentity();
    glEnable(GL_TEXTURE_2D);
    // With both targets on, the rectangle target takes precedence.
    glEnable(GL_TEXTURE_RECTANGLE_ARB);
}

void texturesOff()
{
    glDisable(GL_TEXTURE_RECTANGLE_ARB);
    glDisable(GL_TEXTURE_2D);
}
