// Drawing into a window another program made: a screensaver daemon's, its
// settings dialog's preview, or any X window the command line names.
// sdl12-compat draws into it (SDL_WINDOWID) and scales the 640x480 picture to
// its size, 4:3 and letterboxed; this file finds and checks the window, has
// SDL follow the window's size, and notices when its owner destroys it.
#pragma once

#include "app/display_request.h"

// Before SDL_Init, for DisplayMode::root and DisplayMode::windowId: finds
// the window (--root: XSCREENSAVER_WINDOW's, else the screen's root window),
// checks that it is one to draw into and points SDL at it through the
// environment. Anything else ends start-up through startFail().
void chooseForeignWindow(const DisplayRequest &request);

// When SDL could not draw into the window: status 0 and no word if the window
// has gone meanwhile (a daemon closing a preview at once), else startFail().
[[noreturn]] void foreignWindowFailed(const char *reason);

// After the video mode is set: SDL follows the window's size from here on.
void watchForeignWindow();

// Before each swap: true once the window's owner has destroyed it, which is
// how a settings dialog ends a preview; always false without such a window.
// An X error that the window's end does not explain ends the program, with a
// line and status 1.
bool foreignWindowGone();
