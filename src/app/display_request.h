// How the program shows the picture, as the command line asks: the shell
// decides it before SDL_main, the display acts on it when it opens.
#pragma once

enum class DisplayMode {
    fullScreen, // the 640x480 full-screen display, scaled to the screen
    window,     // a 640x480 window, unscaled, wherever the screen is
    root,       // a screensaver's window: XSCREENSAVER_WINDOW, else the root
                // (on Windows the saver's full screen, /s)
    windowId,   // the X window the command line names (on Windows /p's)
};

struct DisplayRequest {
    DisplayMode mode = DisplayMode::fullScreen;
    unsigned long windowId = 0; // with DisplayMode::windowId
};

// Kept for openDisplay(); the full-screen display until something is asked.
void requestDisplay(const DisplayRequest &request);
const DisplayRequest &displayRequest();

// Whether the request is a screensaver's (root, windowId). A daemon's log
// takes the program's standard output and error then, and the daemon ends it
// with SIGTERM: it writes no frame-rate lines, and ends by that signal.
bool runsAsScreensaver();

// An X window ID as screensavers pass it, on the command line or in
// XSCREENSAVER_WINDOW: decimal, or hexadecimal after 0x. False for anything
// else, and for 0, which is no window.
bool parseWindowId(const char *text, unsigned long *id);
