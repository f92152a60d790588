// The display, the render state every drawing relies on, and the texture slots.
#pragma once

#include <SDL.h>

#include "app/slots.h"

extern SDL_Surface *mWIN;

// Where the program looks for its images, relative to the working directory.
#define VORLEX_RESOURCES "Vorlex.app/Contents/Resources/"

// Starts SDL, opens the 640x480 full-screen OpenGL display, fixes the render
// state and the projection, and loads the ten textures. Any failure ends the
// process through startFail().
void inits();

// Reports a start-up failure as one line on standard error, shuts SDL down and
// exits with status 1: "Vorlex: <action>: <reason>". Nothing runs after it.
[[noreturn]] void startFail(const char *action, const char *reason);
