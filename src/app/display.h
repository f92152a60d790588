// The display, the render state every drawing relies on, and the texture slots.
#pragma once

#include <SDL.h>

extern SDL_Surface *mWIN;

// Texture names, filled once by inits() and never deleted.
extern unsigned long texA, texB, texC;   // power-of-two textures
extern unsigned long texD, texE, texF;   // rectangle textures
extern unsigned long imgFontA[2];        // font atlases: [0] 6-pixel cells, [1] 12-pixel cells
extern unsigned long imgFontB[2];

// Where the program looks for its images, relative to the working directory.
#define VORLEX_RESOURCES "Vorlex.app/Contents/Resources/"

// Starts SDL, opens the 640x480 full-screen OpenGL display, fixes the render
// state and the projection, and loads the ten textures. Any failure ends the
// process through startFail().
void inits();

// Reports a start-up failure as one line on standard error, shuts SDL down and
// exits with status 1: "Vorlex: <action>: <reason>". Nothing runs after it.
[[noreturn]] void startFail(const char *action, const char *reason);
