// The desktop's X error handling: requests the X server refuses while the
// display opens are kept to be told in the start-up line; mid-run, a refused
// request or a lost connection ends the process with one line.
#pragma once

#include <X11/Xlib.h>
#include <string>

// Xlib's error handler. Set before any connection, so that SDL's handler,
// installed over it, passes errors on to it.
int onXError(Display *display, XErrorEvent *error);

// Whether the X server refused a request while the display opened.
bool requestRefused();

// The first refused request, e.g. "the X server refused GLX's
// X_GLXCreateContext: BadValue (...)", named by asking `display` (which may
// be null) for its error database and list of extensions.
std::string refusedReason(Display *display);

// From now on a refused request ends the process.
void markDisplayOpen();

// Xlib's IO error handler for a connection that breaks mid-run (the X server
// ended or was killed): one line, and out.
int onLostDisplay(Display *display);
