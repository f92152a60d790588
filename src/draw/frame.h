// One frame's drawing, GL alone: what every drawer of frames (the loop, the
// web page, the headless renderer, the benchmark tools) draws between its
// quit test and its pacing. Nothing here knows of SDL or the loop.
#pragma once

#include <cstdint>

// The whole frame, composed here and nowhere else: the background with its
// blue crosshair, the fixed square and the eight scenes over it, and last the
// text, showing `rate` frames per second (0 before the first measure).
void drawFrame(std::uint32_t rate);
