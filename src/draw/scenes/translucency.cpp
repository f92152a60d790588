// Translucent squares and circle outlines: a staircase of filled squares that
// fade at three rates under a spinning yellow square, and a fading octagon.
// Both draw with texturing off, blended by source alpha over what lies below.
#include "draw/scenes/scenes.h"

#include "draw/picture.h"
#include "draw/scenes/animators.h"
#include "draw/scenes/primitives.h"

void fadingStaircase()
{
    static double alphaStep[3], alpha[3];
    static double x, y, angle;

    glLoadIdentity();
    glPushMatrix();
    glTranslated(288.0, 208.0, 0.0);
    filledSquare(1.0, 0.0, 0.0, 0.4);
    glPopMatrix();

    fade(alpha[0], alphaStep[0], +0.0025, above(1.0), -0.0025, below(0.0));
    fade(alpha[1], alphaStep[1], +0.005, above(1.0), -0.005, below(0.0));
    fade(alpha[2], alphaStep[2], +0.01, above(1.0), -0.01, below(0.0));
    driftLinked(x, y, 0.25, {kPictureWidth, -64.0}, 0.125, {kPictureHeight, -64.0});
    spin(angle, +6.0);

    glPushMatrix();
    glTranslated(312.0, 232.0, 0.0);
    filledSquare(0.0, 1.0, 0.0, alpha[0]);
    glPopMatrix();
    glPushMatrix();
    glTranslated(336.0, 256.0, 0.0);
    filledSquare(0.0, 0.0, 1.0, alpha[1]);
    glPopMatrix();
    glPushMatrix();
    glTranslated(360.0, 280.0, 0.0);
    filledSquare(1.0, 1.0, 1.0, alpha[2]);
    glPopMatrix();

    // The yellow square shares the blue square's fader.
    glPushMatrix();
    glTranslated(x + 32.0, y + 32.0, 0.0);
    glRotated(angle, 0.0, 0.0, 1.0);
    glTranslated(-32.0, -32.0, 0.0);
    filledSquare(1.0, 1.0, 0.0, alpha[1]);
    glPopMatrix();
}

void fadingCircle()
{
    static double alphaStep, alpha;
    static double x, y;

    glLoadIdentity();
    glPushMatrix();
    redOutlineCircle(16, 1.0);
    glPopMatrix();

    // Fades in twice as fast as it fades out.
    fade(alpha, alphaStep, +0.02, above(1.0), -0.01, below(0.0));
    driftLinked(x, y, 0.75, {kPictureWidth, -64.0}, 1.25, {kPictureHeight, -64.0});
    glPushMatrix();
    glTranslated(x, y, 0.0);
    redOutlineCircle(8, alpha);
    glPopMatrix();
}
