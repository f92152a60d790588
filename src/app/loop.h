// The program's own entry and the frame loop: quit test, drawing, pacing,
// frame-rate window, swap.
#pragma once

#include "app/rate.h"

// Opens the display, loads the textures, then draws frame after frame until
// the user quits. Ignores its arguments; returns 0.
// The loop's clock and frame rate, kept for the whole process.
extern FrameClock loopClock;

extern "C" int SDL_main(int argc, char *argv[]);

// Takes one event off the queue: 0 on an Escape press or a quit request,
// 1 to go on (also when nothing was pending). A quit request the quit channel
// could not queue answers 0 without a poll.
int endKeys();
