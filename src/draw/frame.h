// One frame's drawing, GL alone: what every drawer of frames (the loop, the
// web page, the headless renderer, the benchmark tools) draws between its
// quit test and its pacing. Nothing here knows of SDL or the loop.
//
// The GL the drawing may use is what the web page's GL layer routes
// (src/web/webgl.h): glBegin/glEnd with GL_LINES, GL_LINE_LOOP or GL_QUADS,
// glVertex2i, glTexCoord2i, glColor3d/4d; glLoadIdentity, glPushMatrix,
// glPopMatrix, glTranslated, glRotated, glScaled on the model-view matrix;
// glEnable/glDisable of GL_TEXTURE_2D, GL_TEXTURE_RECTANGLE_ARB and
// GL_BLEND, glBindTexture and glClear. Any other call fails the page's
// build; another mode or matrix is a GL error there.
#pragma once

#include <cstdint>

// The whole frame, composed here and nowhere else: the background with its
// blue crosshair, the fixed square and the eight scenes over it, and last the
// text, showing `rate` frames per second (0 before the first measure).
void drawFrame(std::uint32_t rate);
