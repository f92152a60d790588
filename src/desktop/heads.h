// Which monitor full screen covers when one X screen spans several: the
// primary one, or the one SDL_VIDEO_FULLSCREEN_DISPLAY names, whole; the
// others stay as they were. X servers list monitors through Xinerama, the
// primary first, whether the screen is made of Xinerama heads or of RandR
// outputs.
#pragma once

#include <X11/Xlib.h>

struct Head {
    int x, y, width, height; // in the screen's pixels
    int count;               // the screen's heads, 1 without Xinerama
};

// The head `named` (SDL_VIDEO_FULLSCREEN_DISPLAY's value, a decimal index,
// or nullptr) picks among `count`: 0, the primary, unless it names another.
int namedHead(const char *named, int count);

// The head full screen covers on the display's default screen; the whole
// screen where it is one head.
Head fullScreenHead(Display *display);
