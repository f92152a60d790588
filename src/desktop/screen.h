// How the 640x480 picture meets an X display of another size: scaled to cover
// the screen, 4:3 and letterboxed, wherever the display lets it.
#pragma once

// Whether SDL_VIDEODRIVER lets SDL's X11 driver meet the X display: unset,
// or a list (SDL's comma-separated, any case) where x11 comes before any
// driver that always starts.
bool x11DriverChosen();

// What the X display says of itself, as far as the fit depends on it.
struct ScreenReport {
    long width, height;     // the head full screen covers (heads.h), in pixels
    bool windowManager;     // something manages windows
    bool honoursFullScreen; // an EWMH window manager that makes a full-screen window its head's size
    int heads = 1;          // the monitors the screen spans
};

// How the picture meets that display.
struct ScreenFit {
    bool scale;          // sdl12-compat draws offscreen and scales the picture to the window
    bool cover;          // the program itself places its window over the whole head
    bool toHead = false; // the program moves its full-screen window onto the head, where
                         // the window manager fits it
};

// The decision alone. `windowed`: the picture is asked for in a window of
// its own size, whatever the screen. Scaling costs a pass over the window
// every frame, so it runs only where the window is not the picture's size.
ScreenFit fitScreen(const ScreenReport &screen, bool windowed);

// Before SDL_Init: asks the X display whether a window manager runs and
// honours full-screen requests, and sets sdl12-compat's scaling and filter
// through the environment to match. A variable the user set is left alone.
// Its connection to the display stays open until applyScreenFit().
// `windowed`: the picture is asked for in a window of its own.
void chooseScreenFit(bool windowed);

// After the display is open: on an X display without a window manager,
// places the window over the whole head, which nothing else would do; with
// one, on a screen of several heads, moves it onto the head.
// Returns nullptr when done or not needed, else the reason it failed.
const char *applyScreenFit();
