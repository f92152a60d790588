// Fits the picture to the X display before SDL opens it. sdl12-compat draws a
// full-screen mode at the desktop's size and scales the 640x480 picture into
// it, trusting a window manager to make the window that size. Without one the
// window stays 640x480 and shows a zoomed-in corner; this file decides, from
// what the display says of itself, who sizes the window.
#include "desktop/screen.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <cstdlib>
#include <cstring>
#include <string>
#include <strings.h>
#include <SDL.h>
#include <SDL_syswm.h>
#include <unistd.h>

#include "desktop/heads.h"
#include "draw/picture.h"

namespace {

// Set before SDL_Init, acted on once the window exists.
ScreenFit chosenFit;
Head head;

// Held open from before SDL_Init until the window exists: an X server resets
// when its last client leaves, and a connection made during the reset fails.
// Without it a bare server would reset between this look and SDL's.
Display *held;

// A window that vanished between two requests must not end the process
// through Xlib's default handler, which exits.
int ignoreXError(Display *, XErrorEvent *)
{
    return 0;
}

// The items of a 32-bit property, or nullptr; free with XFree. Xlib hands
// 32-bit items over as longs, whatever their size on the wire.
unsigned long *readProperty(Display *display, Window window, const char *name, Atom type,
                            unsigned long *count)
{
    Atom actual;
    int format;
    unsigned long after;
    unsigned char *data = nullptr;
    *count = 0;
    if (XGetWindowProperty(display, window, XInternAtom(display, name, False), 0, 1024, False,
                           type, &actual, &format, count, &after, &data) != Success)
        return nullptr;
    if (data && (actual != type || format != 32 || *count == 0)) {
        XFree(data);
        data = nullptr;
        *count = 0;
    }
    return reinterpret_cast<unsigned long *>(data);
}

// An EWMH window manager names its check window on the root and on that
// window itself; one that has gone leaves only the root's naming behind.
// It honours full screen if it lists the state among those it supports.
bool wmHonoursFullScreen(Display *display, Window root)
{
    unsigned long count;
    Window check = None;
    if (unsigned long *named = readProperty(display, root, "_NET_SUPPORTING_WM_CHECK",
                                            XA_WINDOW, &count)) {
        check = named[0];
        XFree(named);
    }
    if (check == None)
        return false;
    bool alive = false;
    if (unsigned long *self = readProperty(display, check, "_NET_SUPPORTING_WM_CHECK",
                                           XA_WINDOW, &count)) {
        alive = self[0] == check;
        XFree(self);
    }
    if (!alive)
        return false;
    const Atom fullScreen = XInternAtom(display, "_NET_WM_STATE_FULLSCREEN", False);
    bool listed = false;
    if (unsigned long *supported = readProperty(display, root, "_NET_SUPPORTED", XA_ATOM, &count)) {
        for (unsigned long i = 0; i < count && !listed; ++i)
            listed = supported[i] == fullScreen;
        XFree(supported);
    }
    return listed;
}

// Whatever manages windows, EWMH or not, redirects the root's substructure;
// the root's attributes show every client's selection, so looking is enough.
bool anyWindowManager(Display *display, Window root)
{
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, root, &attributes))
        return true;
    return (attributes.all_event_masks & SubstructureRedirectMask) != 0;
}

// SDL's window, found by the process id it carries: without a window manager
// it is a direct child of the root.
Window ownWindow(Display *display, Window root)
{
    Window parent;
    Window *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, root, &root, &parent, &children, &count))
        return None;
    Window found = None;
    for (unsigned int i = 0; i < count && found == None; ++i) {
        unsigned long items;
        if (unsigned long *pid = readProperty(display, children[i], "_NET_WM_PID", XA_CARDINAL,
                                              &items)) {
            if (pid[0] == static_cast<unsigned long>(getpid()))
                found = children[i];
            XFree(pid);
        }
    }
    if (children)
        XFree(children);
    return found;
}

} // namespace

bool x11DriverChosen()
{
    const char *driver = std::getenv("SDL_VIDEODRIVER");
    if (!driver || !*driver)
        return true;
    // SDL tries the names in turn, in any case; those after one that always
    // starts are never reached.
    const std::string names = driver;
    for (std::size_t at = 0; at <= names.size();) {
        std::size_t end = names.find(',', at);
        end = end == std::string::npos ? names.size() : end;
        const std::string name = names.substr(at, end - at);
        if (strcasecmp(name.c_str(), "x11") == 0)
            return true;
        if (strcasecmp(name.c_str(), "offscreen") == 0 || strcasecmp(name.c_str(), "dummy") == 0)
            return false;
        at = end + 1;
    }
    return false;
}

ScreenFit fitScreen(const ScreenReport &screen, bool windowed)
{
    // A window manager that ignores full-screen requests keeps the window
    // 640x480, as a windowed run asks; on a 640x480 screen a window that
    // covers it is that size too. The picture is then drawn at the window's
    // size: whole, unscaled.
    const bool pictureSized = windowed || (screen.windowManager && !screen.honoursFullScreen) ||
                              (screen.width == kPictureWidth && screen.height == kPictureHeight);
    // Without a window manager nothing else sizes the window.
    // A window manager fits a full-screen window to the head it is on,
    // which SDL, seeing one screen, leaves to chance.
    return {!pictureSized, !windowed && !screen.windowManager,
            !windowed && screen.honoursFullScreen && screen.heads > 1};
}

void chooseScreenFit(bool windowed)
{
    // Bitmap fonts of 6 and 12 pixels stay sharp under nearest-neighbour
    // scaling; the default linear filter smears each glyph over grey fringes.
    setenv("SDL12COMPAT_SCALE_METHOD", "nearest", 0);
    if (std::getenv("SDL12COMPAT_OPENGL_SCALING") || !x11DriverChosen())
        return;
    Display *display = XOpenDisplay(nullptr);
    if (!display)
        return; // SDL says why when it tries
    held = display;
    XErrorHandler previous = XSetErrorHandler(ignoreXError);
    const Window root = DefaultRootWindow(display);
    const bool honoured = wmHonoursFullScreen(display, root);
    head = fullScreenHead(display);
    chosenFit = fitScreen({head.width, head.height, honoured || anyWindowManager(display, root), honoured,
                           head.count},
                          windowed);
    // Unset, sdl12-compat scales.
    if (!chosenFit.scale)
        setenv("SDL12COMPAT_OPENGL_SCALING", "0", 1);
    XSync(display, False);
    XSetErrorHandler(previous);
}

const char *applyScreenFit()
{
    Display *display = held;
    held = nullptr;
    if (!display || (!chosenFit.cover && !chosenFit.toHead)) {
        if (display)
            XCloseDisplay(display);
        return nullptr;
    }
    XErrorHandler previous = XSetErrorHandler(ignoreXError);
    Window window = None;
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (chosenFit.cover)
        window = ownWindow(display, DefaultRootWindow(display));
    else if (SDL_GetWMInfo(&info) == 1)
        window = info.info.x11.window;
    // sdl12-compat draws for the screen's size and letterboxes into whatever
    // size the window has when it swaps. A window manager takes the move as
    // a request and fits the full-screen window to the head it lands on.
    if (window != None)
        XMoveResizeWindow(display, window, head.x, head.y, static_cast<unsigned int>(head.width),
                          static_cast<unsigned int>(head.height));
    XSync(display, False);
    XSetErrorHandler(previous);
    XCloseDisplay(display);
    if (window == None && chosenFit.cover)
        return "no window of this process on the X display's root";
    return nullptr;
}
