// One frame's drawing, GL alone: what every drawer of frames (the loop, the
// web page, the headless renderer, the benchmark tools) draws between its
// quit test and its pacing. Nothing here knows of SDL or the loop.
#pragma once

#include <cstdint>

// Clears the frame and draws the blue crosshair under the identity matrix.
void back();

// Everything that lies over the background, in its fixed order, with the
// overlay showing `rate` frames per second (0 before the first measure).
void modelDraw(std::uint32_t rate);

// The whole frame, composed here and nowhere else: back(), then modelDraw(rate).
void drawFrame(std::uint32_t rate);
