// Squares that drift, pulse and spin: the red outline of modelA moved by each
// kind of motion alone, then by all three at once.
#include "draw/scenes/scenes.h"

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

void modelA_move()
{
    static double poX, poY;

    glLoadIdentity();
    driftLinked(poX, poY, 2.0, {640.0, -64.0}, 1.0, {480.0, -64.0});
    // No push: the next scene's glLoadIdentity discards this translation.
    glTranslated(poX, poY, 0.0);
    modelA();
}

void modelA_scal()
{
    static double poX, poY, scl, vec;

    glLoadIdentity();
    fade(scl, vec, +0.02, atLeast(1.0), -0.02, atMost(0.0));
    const double c = centring(scl);
    // The z factor is 0.0: every vertex lies at z = 0, so nothing changes on screen.
    glPushMatrix();
    glTranslated(c, c, 0.0);
    glScaled(scl, scl, 0.0);
    modelA();
    glPopMatrix();

    driftIndependent(poX, poY, 1.0, {640.0, -64.0}, 0.5, {480.0, -64.0});
    glPushMatrix();
    glTranslated(c + poX, c + poY, 0.0);
    glScaled(scl, scl, 0.0);
    modelA();
    glPopMatrix();
}

void modelA_rots()
{
    static double rot, rt2, poX, poY;

    glLoadIdentity();
    spin(rot, -1.0);
    // y grows downwards, so these falling angles turn the squares anticlockwise on screen.
    glPushMatrix();
    glTranslated(32.0, 32.0, 0.0);
    glRotated(rot, 0.0, 0.0, 1.0);
    glTranslated(-32.0, -32.0, 0.0);
    modelA();
    glPopMatrix();

    driftLinked(poX, poY, 0.5, {640.0, -64.0}, 0.25, {480.0, -64.0});
    spin(rt2, -3.0);
    glPushMatrix();
    glTranslated(poX + 32.0, poY + 32.0, 0.0);
    glRotated(rt2, 0.0, 0.0, 1.0);
    glTranslated(-32.0, -32.0, 0.0);
    modelA();
    glPopMatrix();
}

void modelA_moveScaleRotate()
{
    static double poX, poY, scl, vec, rot;

    glLoadIdentity();
    driftLinked(poX, poY, 1.2, {640.0, -64.0}, 1.0, {480.0, -64.0});
    fade(scl, vec, +0.0125, atLeast(1.0), -0.0125, atMost(0.0));
    spin(rot, -9.0);
    // Turned about its own centre, scaled about that same centre; no push,
    // the next scene's glLoadIdentity discards it.
    const double c = centring(scl);
    glTranslated(c + poX, c + poY, 0.0);
    glScaled(scl, scl, 0.0);
    glTranslated(32.0, 32.0, 0.0);
    glRotated(rot, 0.0, 0.0, 1.0);
    glTranslated(-32.0, -32.0, 0.0);
    modelA();
}
