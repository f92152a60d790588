// Drawing into a window another program made. SDL 1.2's SDL_WINDOWID names
// it; SDL2, under sdl12-compat, makes a GL context on such a window only with
// its hint SDL_VIDEO_FOREIGN_WINDOW_OPENGL, which it reads from the
// environment. sdl12-compat's scaling pass then letterboxes the picture into
// the size SDL2 knows for the window, and SDL2 learns of a new size only from
// the window's ConfigureNotify events, which it does not ask for on a window
// it did not make: watchForeignWindow() asks for them on SDL's connection.
// A second connection of this file's own watches for the window's end.
#include "desktop/foreign_window.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "app/fail.h"
#include "desktop/display_probe.h"

namespace {

// This file's connection: open from chooseForeignWindow() to the end, with
// the window's structure events selected.
Display *own;
Window target = None;
int targetWidth, targetHeight; // as the X server last said
std::string named; // "the window 0x...", as lines name it

// Requests on the window, and on what SDL and GL keep of it, fail once its
// owner has destroyed it, at any point of SDL's or GL's work. The process's X
// error handler hands this file every error: one about the window is noted
// from the start, any other once the frames run, and the next look tells
// whether the window's end explains it.
volatile sig_atomic_t vanished;
bool running;
bool otherError;
char errorText[160];

// SDL2 reads the window's attributes as it takes the window over and uses
// them unchecked, so a window destroyed at that moment crashes it. While SDL
// starts, a crash that follows the X server's word that the window is gone
// is that end, and ends the program as the window's owner meant; any other
// crash stays one.
void onCrashWhileStarting(int number)
{
    if (vanished)
        _exit(0);
    signal(number, SIG_DFL); // the faulting instruction runs again, and crashes
}

void guardStart(bool on)
{
    for (const int number : {SIGSEGV, SIGBUS})
        signal(number, on ? onCrashWhileStarting : SIG_DFL);
}

// Asks the X server, on this file's connection, whether the window is there.
bool windowExists()
{
    XWindowAttributes attributes;
    return XGetWindowAttributes(own, target, &attributes) != 0;
}

std::string hex(unsigned long id)
{
    char text[24];
    std::snprintf(text, sizeof text, "0x%lx", id);
    return text;
}

} // namespace

bool chooseForeignWindow(const DisplayRequest &request, std::string *action, std::string *why)
{
    // The window is an X window, whatever driver the session prefers.
    setenv("SDL_VIDEODRIVER", "x11", 1);
    own = XOpenDisplay(nullptr);
    if (!own) {
        const char *name = std::getenv("DISPLAY");
        *action = "cannot open the display";
        // As for a window of the program's own, which SDL would open.
        *why = name && *name ? unreachableReason() : "DISPLAY is not set, and drawing into an X window needs one";
        return false;
    }

    unsigned long id = request.windowId;
    if (request.mode == DisplayMode::windowId) {
        named = "the window " + hex(id);
    } else if (const char *given = std::getenv("XSCREENSAVER_WINDOW"); given && *given) {
        if (!parseWindowId(given, &id)) {
            *action = "cannot find the screensaver's window";
            *why = "XSCREENSAVER_WINDOW is \"" + std::string(given) +
                   "\", not a window ID (decimal, or hexadecimal after 0x)";
            return false;
        }
        named = "the screensaver's window " + hex(id) + " (XSCREENSAVER_WINDOW)";
    } else {
        id = RootWindow(own, DefaultScreen(own));
        named = "the root window " + hex(id);
    }
    target = id;
    *action = foreignWindowAction();

    // Selected before the look, so that any end after it is seen, during
    // SDL's start too.
    XSelectInput(own, target, StructureNotifyMask);
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(own, target, &attributes)) {
        *why = "no such window on the X display " + std::string(DisplayString(own));
        return false;
    }
    if (attributes.c_class == InputOnly) {
        *why = "it is an input-only window";
        return false;
    }
    targetWidth = attributes.width;
    targetHeight = attributes.height;

    guardStart(true);
    setenv("SDL_WINDOWID", std::to_string(id).c_str(), 1);
    setenv("SDL_VIDEO_FOREIGN_WINDOW_OPENGL", "1", 1);
    return true;
}

bool foreignWindowError(Display *display, const XErrorEvent *error)
{
    if (target == None)
        return false;
    if (display == own)
        return true;
    const bool aboutWindow = error->resourceid == target;
    if (!aboutWindow && !running)
        return false;
    if (!vanished && !otherError)
        XGetErrorText(display, error->error_code, errorText, sizeof errorText);
    if (aboutWindow)
        vanished = 1;
    else
        otherError = true;
    return true;
}

std::string foreignWindowAction()
{
    return "cannot draw into " + named;
}

void endIfForeignWindowGone()
{
    if (windowExists())
        return;
    SDL_Quit();
    std::exit(0);
}

bool foreignWindowSize(int *width, int *height)
{
    *width = targetWidth;
    *height = targetHeight;
    return target != None;
}

bool watchForeignWindow()
{
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWMInfo(&info) <= 0 || info.subsystem != SDL_SYSWM_X11)
        return false;
    auto &x11 = info.info.x11;
    x11.lock_func();
    // SDL's own selection on the window, if any, stays.
    XWindowAttributes attributes;
    if (XGetWindowAttributes(x11.display, x11.window, &attributes))
        XSelectInput(x11.display, x11.window, attributes.your_event_mask | StructureNotifyMask);
    XFlush(x11.display);
    x11.unlock_func();
    guardStart(false);
    running = true;
    return true;
}

bool foreignWindowGone()
{
    if (!own)
        return false;
    bool destroyed = false;
    while (XPending(own)) {
        XEvent event;
        XNextEvent(own, &event);
        destroyed = destroyed || (event.type == DestroyNotify && event.xdestroywindow.window == target);
        if (event.type == ConfigureNotify && event.xconfigure.window == target) {
            targetWidth = event.xconfigure.width;
            targetHeight = event.xconfigure.height;
        }
    }
    if (destroyed)
        return true;
    if (!vanished && !otherError)
        return false;
    if (!windowExists())
        return true;
    startFail(foreignWindowAction().c_str(), ("X error: " + std::string(errorText)).c_str());
}
