// The overlay: a title that cross-fades between two font families, the
// credit line, the quit hint, five lines of fixed text at the top left and the live frame rate.
#include "draw/text/overlay.h"

#include "draw/scenes/animators.h"
#include "draw/scenes/primitives.h"
#include "draw/text/font.h"

void drawOverlay(std::uint32_t rate)
{
    static double alp, vec;

    // Identity matrix from here on: positions are screen pixels, y down.
    identityAndTexturesOn();

    // The fade moves 0.01 a frame: the A layers rise to opaque on frame 100
    // and are gone again on frame 200.
    fade(alp, vec, +0.01, above(1.0), -0.01, below(0.0));

    // Every text is a format: a literal percent sign would have to be doubled.
    fontB(1, 1.0, 48, 360, "OpenGL TEST");
    fontA(1, alp, 48, 360, "OpenGL TEST");
    // 38 cells of 6 pixels, exactly as wide as the underline below it.
    fontB(0, 1.0, 48, 372, "VORLEX DEMO 2009 BY THE VORLEX AUTHORS");
    fontA(0, alp, 48, 372, "VORLEX DEMO 2009 BY THE VORLEX AUTHORS");
    fontB(0, 1.0, 48, 378, "______________________________________");
    fontB(0, 1.0, 48, 386, "ESC OR Q TO QUIT");

    fontB(0, alp, 0, 0, "MAC OS X10.4.11");
    fontB(0, alp, 0, 6, "Xcode 2.5");
    fontB(0, alp, 0, 12, "OpenGL");
    fontB(0, alp, 0, 18, "SDL 1.2.13");
    fontB(0, alp, 0, 24, "DATE:2009.7");

    // The loop's rate is 0 until it closes its first window: " 0" until then.
    fontB(0, 1.0, 598, 468, "FPS:%2d", static_cast<int>(rate));

    texturesOff();
}
