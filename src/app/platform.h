// What a platform provides around the shared start-up and frame loop: the
// display, image decoding and how a drawn frame reaches the screen. The
// clock, the sleep and the event queue are SDL's on every platform. The
// desktop's are display.cpp and image.cpp (and the files they name); the web
// page's live in web/.
#pragma once

#include <SDL.h>
#include <string>

extern SDL_Surface *mWIN;

// Where the program looks for its images, relative to the working directory.
#define VORLEX_RESOURCES "Vorlex.app/Contents/Resources/"

// Starts SDL's video and opens the 640x480 OpenGL display, titled, without a
// mouse pointer, with SDL queueing only what the quit test acts on. Any
// failure ends start-up through startFail().
void openDisplay();

// Reads the image file at path into a new RGBA staging surface (bytes red,
// green, blue, alpha; top row first; rows of 4 x width bytes): the image's
// own size, or each side rounded up to a power of two when `padded`, the rest
// transparent black. `largest` is the largest side a texture may have. Null
// on failure, with the reason in *why.
SDL_Surface *stageFile(const char *path, bool padded, long largest, std::string *why);

// Shows the frame just drawn.
void presentFrame();
