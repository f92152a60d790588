// The desktop display's probe connection and screen checks: the connection
// SDL's X11 driver is about to make, made first (under the silence limit,
// with the server's reason for a refusal in hand) and left open until the
// window exists (see screen.cpp on a server's reset); and whether the display
// SDL found is one the picture can be seen on.
#pragma once

#include <X11/Xlib.h>
#include <string>

// Opens the probe connection to the X display `name`. A server that refuses
// it ends start-up through displayFail(), saying why (for authorisation:
// which authority file, and what to do); where no server answers, SDL tries
// again and says why.
void probeDisplay(const char *name);

// The probe connection, or null.
Display *probeConnection();

// Waits for the X server to have answered every request on the probe.
void syncProbe();

// Closes the probe connection.
void closeProbe();

// SDL places a window by its position among the displays RandR reports, and
// every X screen's begin at 0,0: on a server of several screens its window
// lands on screen 0 whichever one DISPLAY names. Without RandR, SDL knows only
// the screen DISPLAY names, and places its window there: so on such a server
// SDL is told to leave RandR alone (unless the user said otherwise).
void keepToNamedScreen();

// Ends start-up when SDL's window is not on the screen DISPLAY names: X moves
// no window from one screen to another.
void checkScreen();

// Ends start-up when SDL fell back on a video driver that shows nothing.
void requireVisibleDriver();

// Why no display opens when the process may open fewer files than SDL's X
// driver needs (a dozen or so besides the connection; ulimit -n); "" when it
// may open enough. The same words whichever way the display was asked for.
std::string descriptorShortage();

// Why the X display DISPLAY names could not be opened when its server said
// nothing: too few descriptors, or no server there.
std::string unreachableReason();
