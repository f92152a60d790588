// The monitors of an X screen, through Xinerama.
#include "desktop/heads.h"

#include <X11/extensions/Xinerama.h>
#include <cstdlib>

int namedHead(const char *named, int count)
{
    if (!named || *named < '0' || *named > '9')
        return 0;
    char *end;
    const long index = std::strtol(named, &end, 10);
    return *end == '\0' && index < count ? static_cast<int>(index) : 0;
}

Head fullScreenHead(Display *display)
{
    const int screen = DefaultScreen(display);
    Head head = {0, 0, DisplayWidth(display, screen), DisplayHeight(display, screen), 1};
    int count = 0;
    XineramaScreenInfo *heads = XineramaIsActive(display) ? XineramaQueryScreens(display, &count) : nullptr;
    if (heads && count > 1) {
        // sdl12-compat reads both names, and SDL 1.2 read the second.
        const char *named = std::getenv("SDL_VIDEO_FULLSCREEN_DISPLAY");
        const XineramaScreenInfo &chosen =
            heads[namedHead(named ? named : std::getenv("SDL_VIDEO_FULLSCREEN_HEAD"), count)];
        head = {chosen.x_org, chosen.y_org, chosen.width, chosen.height, count};
    }
    if (heads)
        XFree(heads);
    return head;
}
