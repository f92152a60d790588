// Textured squares: per scene one fixed square that fades in and out, and two
// moving squares that drift, grow and shrink, spin and cross-fade (the third's
// alpha is one minus the second's, its angle the second's negated).
// texturedSquares shows the power-of-two textures, rectTexturedSquares the rectangle ones.
#include "draw/scenes/scenes.h"

#include <GL/gl.h>

#include "draw/scenes/slots.h"
#include "draw/picture.h"
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

void texturedSquares()
{
    static double fixedAlpha, fixedStep, crossAlpha, crossStep, scale, scaleStep, partnerScale,
        partnerScaleStep, angle;
    static double x, y, partnerX, partnerY;

    glLoadIdentity();
    glEnable(GL_TEXTURE_2D);
    fade(fixedAlpha, fixedStep, +0.01, above(1.0), -0.01, below(0.0));
    glPushMatrix();
    glTranslated(384.0, 304.0, 0.0);
    texturedSquare(fixedAlpha, texFixedSquare);
    glPopMatrix();

    // crossAlpha rises five times as fast as it falls.
    fade(crossAlpha, crossStep, +0.025, above(1.0), -0.005, below(0.0));
    fade(scale, scaleStep, +0.007, above(1.0), -0.007, below(0.0));
    spin(angle, +1.5);
    driftLinked(x, y, 0.35, {kPictureWidth, -64.0}, 1.15, {kPictureHeight, -64.0});
    glPushMatrix();
    placeMovingSquare(64.0, scale, angle, x, y);
    texturedSquare(crossAlpha, texDriftingSquare);
    glPopMatrix();

    fade(partnerScale, partnerScaleStep, +0.007, above(3.0), -0.007, below(0.0));
    // Leaves and re-enters a whole scaled side beyond the edges, with the partner's scale just updated.
    driftLinked(partnerX, partnerY, 0.65, {partnerScale * 64.0 + kPictureWidth, partnerScale * -64.0},
                1.75, {partnerScale * 64.0 + kPictureHeight, partnerScale * -64.0});
    glPushMatrix();
    placeMovingSquare(64.0, partnerScale, -angle, partnerX, partnerY);
    texturedSquare(1.0 - crossAlpha, texPartnerSquare);
    glPopMatrix();
    glDisable(GL_TEXTURE_2D);
}

void rectTexturedSquares()
{
    static double fixedAlpha, fixedStep, crossAlpha, crossStep, scale, scaleStep, partnerScale,
        partnerScaleStep, angle;
    static double x, y, partnerX, partnerY;

    identityAndTexturesOn();
    fade(fixedAlpha, fixedStep, +0.008, above(1.0), -0.008, below(0.0));
    glPushMatrix();
    glTranslated(404.0, 324.0, 0.0);
    rectTexturedSquare(fixedAlpha, texFixedRect, 72);
    glPopMatrix();

    fade(crossAlpha, crossStep, +0.015, above(1.0), -0.015, below(0.0));
    // Flag 0.0 moves the scales down: from the zero start they turn on the first call.
    fade(scale, scaleStep, -0.007, below(0.0), +0.007, above(2.0));
    spin(angle, +1.75);
    // Drifts up and left. The limit lies a whole scaled side out, the reset
    // only half a side beyond the far edge; both use the scale just updated.
    driftLinked(x, y, -0.35, {scale * -48.0, scale * 48.0 * 0.5 + kPictureWidth},
                -0.15, {scale * -48.0, scale * 48.0 * 0.5 + kPictureHeight});
    glPushMatrix();
    placeMovingSquare(48.0, scale, angle, x, y);
    rectTexturedSquare(crossAlpha, texDriftingRect, 48);
    glPopMatrix();

    fade(partnerScale, partnerScaleStep, -0.007, below(0.0), +0.007, above(17.0));
    driftLinked(partnerX, partnerY, -1.75, {partnerScale * -24.0, partnerScale * 24.0 * 0.5 + kPictureWidth},
                -0.65, {partnerScale * -24.0, partnerScale * 24.0 * 0.5 + kPictureHeight});
    glPushMatrix();
    placeMovingSquare(24.0, partnerScale, -angle, partnerX, partnerY);
    rectTexturedSquare(1.0 - crossAlpha, texPartnerRect, 24);
    glPopMatrix();
    texturesOff();
}
