#include "draw/frame.h"

#include <GL/gl.h>

#include "draw/picture.h"
#include "draw/scenes/primitives.h"
#include "draw/scenes/scenes.h"
#include "draw/text/overlay.h"

namespace {

// Clears the frame and draws the blue crosshair under the identity matrix.
void drawBackground()
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    glBegin(GL_LINES);
    glColor3d(0.0, 0.0, 1.0);
    glVertex2i(0, kPictureHeight / 2);
    glVertex2i(kPictureWidth, kPictureHeight / 2);
    glVertex2i(kPictureWidth / 2, 0);
    glVertex2i(kPictureWidth / 2, kPictureHeight);
    glEnd();
}

// The fixed square and the eight scenes, in their fixed order.
void drawScenes()
{
    // Drawn under the identity that drawBackground() left: the fixed square at the origin.
    redOutlineSquare();
    // No depth test: each scene lies over the ones before it.
    driftingSquare();
    pulsingSquares();
    spinningSquares();
    fadingStaircase();
    tumblingSquare();
    fadingCircle();
    texturedSquares();
    rectTexturedSquares();
}

} // namespace

void drawFrame(std::uint32_t rate)
{
    drawBackground();
    drawScenes();
    // Last, so the text lies over everything else.
    drawOverlay(rate);
}
