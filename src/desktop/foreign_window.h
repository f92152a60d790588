// Drawing into a window another program made: a screensaver daemon's, its
// settings dialog's preview, or any X window the command line names.
// sdl12-compat draws into it (SDL_WINDOWID) and scales the 640x480 picture to
// its size, 4:3 and letterboxed; this file finds and checks the window, has
// SDL follow the window's size, and notices when its owner destroys it.
#pragma once

#include <X11/Xlib.h>
#include <string>

#include "app/display_request.h"

// Before SDL_Init, for DisplayMode::root and DisplayMode::windowId: finds
// the window (--root: XSCREENSAVER_WINDOW's, else the screen's root window),
// checks that it is one to draw into and points SDL at it through the
// environment. False, with the line's action and reason, when it cannot.
bool chooseForeignWindow(const DisplayRequest &request, std::string *action, std::string *why);

// From the process's X error handler, for every error: true when it is this
// file's to judge, noted for foreignWindowGone() to tell from the window's
// end (an error about the window; once the frames run, any error, as what SDL
// and GL keep of the window fails with it; one on this file's own
// connection); false without such a window.
bool foreignWindowError(Display *display, const XErrorEvent *error);

// The action a line names when the window cannot be drawn into.
std::string foreignWindowAction();

// When SDL could not draw into the window: status 0 and no word if the window
// has gone meanwhile (a daemon closing a preview at once); else it returns,
// for the caller to say why.
void endIfForeignWindowGone();

// The window's size as the X server last said, kept up to date by
// foreignWindowGone(); false without such a window.
bool foreignWindowSize(int *width, int *height);

// After the video mode is set: SDL follows the window's size from here on.
// False when SDL does not say which X connection draws into the window.
bool watchForeignWindow();

// Before each swap: true once the window's owner has destroyed it, which is
// how a settings dialog ends a preview; always false without such a window.
// An X error that the window's end does not explain ends the program, with
// a line and status 1.
bool foreignWindowGone();
