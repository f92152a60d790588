// The seam between the shared app and a platform: what each platform
// provides around the shared start-up and frame loop. The loop also calls
// the clock, the sleep and the event queue by SDL's names on every
// platform: SDL's own on the desktop and Windows, the page's own clock and
// sleep on the web (src/web). Each platform implements all of it in its own
// folder: the desktop in src/desktop, the web page in src/web, Windows in
// src/windows; each file there opens by naming what it implements.
#pragma once

#include <SDL.h>
#include <cstdint>
#include <string>

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

// Writes the frame-rate line "<rate>\n" (on Windows "<rate>\r\n") to
// descriptor fd without waiting: a reader that stopped reading, a terminal
// paused with Ctrl+S or a pipe whose reader left must never hold up the
// frames. False when the line could not go out now; it is dropped, not kept
// for later.
bool writeRate(int fd, std::uint32_t rate);
