// Squares that drift, pulse and spin: the red outline square moved by each
// kind of motion alone, then by all three at once.
#include "draw/scenes/scenes.h"

#include "draw/picture.h"
#include "draw/scenes/animators.h"
#include "draw/scenes/primitives.h"

namespace {

// The offset that keeps a 64x64 box centred on its own centre when it is
// scaled by s after the translation.
double centring(double s)
{
    return (64.0 - 64.0 * s) * 0.5;
}

} // namespace

void driftingSquare()
{
    static double x, y;

    glLoadIdentity();
    driftLinked(x, y, 2.0, {kPictureWidth, -64.0}, 1.0, {kPictureHeight, -64.0});
    // No push: the next scene's glLoadIdentity discards this translation.
    glTranslated(x, y, 0.0);
    redOutlineSquare();
}

void pulsingSquares()
{
    static double x, y, scale, scaleStep;

    glLoadIdentity();
    fade(scale, scaleStep, +0.02, atLeast(1.0), -0.02, atMost(0.0));
    const double c = centring(scale);
    // The z factor is 0.0: every vertex lies at z = 0, so nothing changes on screen.
    glPushMatrix();
    glTranslated(c, c, 0.0);
    glScaled(scale, scale, 0.0);
    redOutlineSquare();
    glPopMatrix();

    driftIndependent(x, y, 1.0, {kPictureWidth, -64.0}, 0.5, {kPictureHeight, -64.0});
    glPushMatrix();
    glTranslated(c + x, c + y, 0.0);
    glScaled(scale, scale, 0.0);
    redOutlineSquare();
    glPopMatrix();
}

void spinningSquares()
{
    static double angle, partnerAngle, x, y;

    glLoadIdentity();
    spin(angle, -1.0);
    // y grows downwards, so these falling angles turn the squares anticlockwise on screen.
    glPushMatrix();
    glTranslated(32.0, 32.0, 0.0);
    glRotated(angle, 0.0, 0.0, 1.0);
    glTranslated(-32.0, -32.0, 0.0);
    redOutlineSquare();
    glPopMatrix();

    driftLinked(x, y, 0.5, {kPictureWidth, -64.0}, 0.25, {kPictureHeight, -64.0});
    spin(partnerAngle, -3.0);
    glPushMatrix();
    glTranslated(x + 32.0, y + 32.0, 0.0);
    glRotated(partnerAngle, 0.0, 0.0, 1.0);
    glTranslated(-32.0, -32.0, 0.0);
    redOutlineSquare();
    glPopMatrix();
}

void tumblingSquare()
{
    static double x, y, scale, scaleStep, angle;

    glLoadIdentity();
    driftLinked(x, y, 1.2, {kPictureWidth, -64.0}, 1.0, {kPictureHeight, -64.0});
    fade(scale, scaleStep, +0.0125, atLeast(1.0), -0.0125, atMost(0.0));
    spin(angle, -9.0);
    // Turned about its own centre, scaled about that same centre; no push,
    // the next scene's glLoadIdentity discards it.
    const double c = centring(scale);
    glTranslated(c + x, c + y, 0.0);
    glScaled(scale, scale, 0.0);
    glTranslated(32.0, 32.0, 0.0);
    glRotated(angle, 0.0, 0.0, 1.0);
    glTranslated(-32.0, -32.0, 0.0);
    redOutlineSquare();
}
