// The program's own entry and the frame loop: quit test, drawing, pacing,
// frame-rate window, swap.
#pragma once

// Opens the display, loads the textures, then draws frame after frame until
// the user quits. Ignores its arguments; returns 0.
extern "C" int SDL_main(int argc, char *argv[]);

// Takes one event off the queue: false on an Escape press or a quit request,
// true to go on (also when nothing was pending). A quit request the quit
// channel could not queue answers false without a poll.
bool keepRunning();
