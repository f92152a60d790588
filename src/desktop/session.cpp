// The screensaver inhibit, the window class and the window icon.
#include "desktop/session.h"

#include <SDL_image.h>
#include <cstddef>
#include <cstdlib>

// The PNG of resources/vorlex.png, written into the build by CMakeLists.txt.
extern const unsigned char kWindowIconPng[];
extern const std::size_t kWindowIconPngSize;

void introduceToSession(DisplayMode mode)
{
    // SDL2 keeps the session awake for any program it opens a window for: an
    // inhibit over D-Bus, and every 30 seconds SimulateUserActivity and a
    // reset of the X idle timer. A screensaver that reports the user active
    // wakes the very daemon that runs it, and keeps a locker from blanking
    // the screen; a window may be covered, and is left to the session too,
    // unless the user's environment asks otherwise.
    if (mode == DisplayMode::root || mode == DisplayMode::windowId)
        setenv("SDL_VIDEO_ALLOW_SCREENSAVER", "1", 1);
    else if (mode == DisplayMode::window)
        setenv("SDL_VIDEO_ALLOW_SCREENSAVER", "1", 0);
    // How the session lists the inhibit, in place of SDL's "My SDL
    // application", "Playing a game".
    setenv("SDL_APP_NAME", "Vorlex", 0);
    setenv("SDL_SCREENSAVER_INHIBIT_ACTIVITY_NAME", "Running the demo", 0);
    // The desktop entry's StartupWMClass names the same class, whatever the
    // file the program was started by is called.
    setenv("SDL_VIDEO_X11_WMCLASS", VORLEX_WM_CLASS, 0);
}

SDL_Surface *setWindowIcon()
{
    SDL_RWops *png = SDL_RWFromConstMem(kWindowIconPng, static_cast<int>(kWindowIconPngSize));
    SDL_Surface *icon = png ? IMG_Load_RW(png, 1) : nullptr;
    if (icon)
        SDL_WM_SetIcon(icon, nullptr);
    return icon;
}
