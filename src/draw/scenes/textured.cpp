// Textured squares: per scene one fixed square that fades in and out, and two
// moving squares that drift, grow and shrink, spin and cross-fade (the third's
// alpha is one minus the second's, its angle the second's negated).
// modelD_xfade shows the power-of-two textures, modelE_xfade the rectangle ones.
#include "draw/scenes/scenes.h"

#include <GL/gl.h>

#include "draw/scenes/slots.h"
#include "draw/scenes/animators.h"
#include "draw/scenes/primitives.h"

namespace {

// Places a moving square of unscaled side n at (x, y), scaled by s and turned
// by angle degrees, both about the centre of its box, so that the centre stays
// at (x + n/2, y + n/2). Goes right after the caller's push.
void placeMovingSquare(double n, double s, double angle, double x, double y)
{
    // The product, then the sum, then the halving: the rounding follows this order.
    const double k = (-n * s + n) * 0.5;
    glTranslated(k + x, k + y, 0.0);
    // The z factor is 0.0: every vertex lies at z = 0, so nothing changes on screen.
    glScaled(s, s, 0.0);
    glTranslated(n / 2.0, n / 2.0, 0.0);
    glRotated(angle, 0.0, 0.0, 1.0);
    glTranslated(-n / 2.0, -n / 2.0, 0.0);
}

} // namespace

void modelD_xfade()
{
    static double alp, vec, al1, vc1, scl, vc2, sl2, vc3, rot;
    static double poX, poY, pX2, pY2;

    glLoadIdentity();
    glEnable(GL_TEXTURE_2D);
    fade(alp, vec, +0.01, above(1.0), -0.01, below(0.0));
    glPushMatrix();
    glTranslated(384.0, 304.0, 0.0);
    modelD(alp, texFixedSquare);
    glPopMatrix();

    // al1 rises five times as fast as it falls.
    fade(al1, vc1, +0.025, above(1.0), -0.005, below(0.0));
    fade(scl, vc2, +0.007, above(1.0), -0.007, below(0.0));
    spin(rot, +1.5);
    driftLinked(poX, poY, 0.35, {640.0, -64.0}, 1.15, {480.0, -64.0});
    glPushMatrix();
    placeMovingSquare(64.0, scl, rot, poX, poY);
    modelD(al1, texDriftingSquare);
    glPopMatrix();

    fade(sl2, vc3, +0.007, above(3.0), -0.007, below(0.0));
    // Leaves and re-enters a whole scaled side beyond the edges, with the sl2 just updated.
    driftLinked(pX2, pY2, 0.65, {sl2 * 64.0 + 640.0, sl2 * -64.0},
                1.75, {sl2 * 64.0 + 480.0, sl2 * -64.0});
    glPushMatrix();
    placeMovingSquare(64.0, sl2, -rot, pX2, pY2);
    modelD(1.0 - al1, texPartnerSquare);
    glPopMatrix();
    glDisable(GL_TEXTURE_2D);
}

void modelE_xfade()
{
    static double alp, vec, al1, vc1, scl, vc2, sl2, vc3, rot;
    static double poX, poY, pX2, pY2;

    texSwitch(true);  // also loads the identity
    fade(alp, vec, +0.008, above(1.0), -0.008, below(0.0));
    glPushMatrix();
    glTranslated(404.0, 324.0, 0.0);
    modelE(alp, texFixedRect, 72);
    glPopMatrix();

    fade(al1, vc1, +0.015, above(1.0), -0.015, below(0.0));
    // Flag 0.0 moves the scales down: from the zero start they turn on the first call.
    fade(scl, vc2, -0.007, below(0.0), +0.007, above(2.0));
    spin(rot, +1.75);
    // Drifts up and left. The limit lies a whole scaled side out, the reset
    // only half a side beyond the far edge; both use the scl just updated.
    driftLinked(poX, poY, -0.35, {scl * -48.0, scl * 48.0 * 0.5 + 640.0},
                -0.15, {scl * -48.0, scl * 48.0 * 0.5 + 480.0});
    glPushMatrix();
    placeMovingSquare(48.0, scl, rot, poX, poY);
    modelE(al1, texDriftingRect, 48);
    glPopMatrix();

    fade(sl2, vc3, -0.007, below(0.0), +0.007, above(17.0));
    driftLinked(pX2, pY2, -1.75, {sl2 * -24.0, sl2 * 24.0 * 0.5 + 640.0},
                -0.65, {sl2 * -24.0, sl2 * 24.0 * 0.5 + 480.0});
    glPushMatrix();
    placeMovingSquare(24.0, sl2, -rot, pX2, pY2);
    modelE(1.0 - al1, texPartnerRect, 24);
    glPopMatrix();
    texSwitch(false);
}
