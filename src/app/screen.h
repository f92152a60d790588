// How the 640x480 picture meets an X display of another size: scaled to cover
// the screen, 4:3 and letterboxed, wherever the display lets it.
#pragma once

// Whether SDL_VIDEODRIVER lets SDL's X11 driver meet the X display: unset,
// or a list (SDL's comma-separated, any case) where x11 comes before any
// driver that always starts.
bool x11DriverChosen();

// Before SDL_Init: asks the X display whether a window manager runs and
// honours full-screen requests, and sets sdl12-compat's scaling and filter
// through the environment to match. A variable the user set is left alone.
// Its connection to the display stays open until applyScreenFit().
void chooseScreenFit();

// After the display is open: on an X display without a window manager,
// places the window over the whole screen, which nothing else would do.
// Returns nullptr when done or not needed, else the reason it failed.
const char *applyScreenFit();
