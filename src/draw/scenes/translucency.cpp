// Translucent squares and circle outlines: a staircase of filled squares that
// fade at three rates under a spinning yellow square, and a fading octagon.
// Both draw with texturing off, blended by source alpha over what lies below.
#include "draw/scenes/scenes.h"

#include "draw/scenes/animators.h"
#include "draw/scenes/primitives.h"

void modelB_alph()
{
    static double vec[3], alp[3];
    static double poX, poY, rot;

    glLoadIdentity();
    glPushMatrix();
    glTranslated(288.0, 208.0, 0.0);
    modelB(1.0, 0.0, 0.0, 0.4);
    glPopMatrix();

    fade(alp[0], vec[0], +0.0025, above(1.0), -0.0025, below(0.0));
    fade(alp[1], vec[1], +0.005, above(1.0), -0.005, below(0.0));
    fade(alp[2], vec[2], +0.01, above(1.0), -0.01, below(0.0));
    driftLinked(poX, poY, 0.25, {640.0, -64.0}, 0.125, {480.0, -64.0});
    spin(rot, +6.0);

    glPushMatrix();
    glTranslated(312.0, 232.0, 0.0);
    modelB(0.0, 1.0, 0.0, alp[0]);
    glPopMatrix();
    glPushMatrix();
    glTranslated(336.0, 256.0, 0.0);
    modelB(0.0, 0.0, 1.0, alp[1]);
    glPopMatrix();
    glPushMatrix();
    glTranslated(360.0, 280.0, 0.0);
    modelB(1.0, 1.0, 1.0, alp[2]);
    glPopMatrix();

    // The yellow square shares the blue square's fader.
    glPushMatrix();
    glTranslated(poX + 32.0, poY + 32.0, 0.0);
    glRotated(rot, 0.0, 0.0, 1.0);
    glTranslated(-32.0, -32.0, 0.0);
    modelB(1.0, 1.0, 0.0, alp[1]);
    glPopMatrix();
}

void modelC_alph()
{
    static double vec, alp;
    static double poX, poY;

    glLoadIdentity();
    glPushMatrix();
    modelC(16, 1.0);
    glPopMatrix();

    // Fades in twice as fast as it fades out.
    fade(alp, vec, +0.02, above(1.0), -0.01, below(0.0));
    driftLinked(poX, poY, 0.75, {640.0, -64.0}, 1.25, {480.0, -64.0});
    glPushMatrix();
    glTranslated(poX, poY, 0.0);
    modelC(8, alp);
    glPopMatrix();
}
