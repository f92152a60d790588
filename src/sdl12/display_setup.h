// What the two SDL 1.2 displays, the desktop's and Windows's, set up and
// check once their GL display is open.
#pragma once

#include <string>

// SDL's queue holds 128 events and drops new ones when full, and the loop
// takes one a frame: a moving mouse would fill it and crowd out an Escape
// press or a quit request. So SDL queues key presses and quit requests alone.
// SDL_Init resets this, so it must follow it.
void queueOnlyQuitTestEvents();

// Empty when the current GL context draws rectangle textures, which five of
// the images become; else why it cannot, naming the renderer.
std::string rectangleTextureProblem();
