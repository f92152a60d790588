// What the desktop session sees of the program besides its picture: whether,
// and under which name, it keeps the screensaver off; the window class that
// ties its window to its desktop entry; and the window's icon.
#pragma once

#include <SDL.h>

#include "app/display_request.h"

// Before SDL_Init, through the environment, which sdl12-compat leaves to SDL2.
// Full screen keeps the screensaver off, as "Vorlex", "Running the demo";
// a window leaves it alone; a screensaver mode never keeps it off, whatever
// the environment says.
void introduceToSession(DisplayMode mode);

// After SDL_Init, before SDL_SetVideoMode: gives the window the project's own
// icon, built into the program. Returns the icon's surface, to be freed once
// the video mode is set, or nullptr when it could not be made (the window
// then has none, which stops nothing).
SDL_Surface *setWindowIcon();
