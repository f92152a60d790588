// The desktop's display: SDL 1.2 (sdl12-compat) on X11 with Mesa's OpenGL.
// Implements openDisplay() and presentFrame() of platform.h: the opening in
// its order. The held standard error (display_fail.h), the silence limit
// (display_silence.h), the X error handlers (x_errors.h), the probe and the
// screen checks (display_probe.h), the screen fit (screen.h), another
// program's window (foreign_window.h) and the averaging that keeps a small
// preview whole (preview_scaling.h) are their own files.
#include "app/platform.h"

#include <SDL_opengl.h>
#include <X11/Xlib.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "sdl12/display_setup.h"
#include "desktop/display_fail.h"
#include "desktop/display_probe.h"
#include "app/display_request.h"
#include "desktop/display_silence.h"
#include "desktop/foreign_window.h"
#include "desktop/heap.h"
#include "app/quit.h"
#include "desktop/preview_scaling.h"
#include "desktop/screen.h"
#include "desktop/session.h"
#include "desktop/x_errors.h"
#include "draw/picture.h"

namespace {

// The surface SDL_SetVideoMode gave; SDL owns it.
SDL_Surface *display;

// How long the X display may keep silent: to the answer of a first
// connection, and then while SDL and GL set up the window and context.
constexpr int kProbeSeconds = 5;
constexpr int kOpenSeconds = 30;

// The X server going away once the window is up but before start-up is
// done: the line must reach the real standard error, not the held one.
int onLostDisplayWhileOpening(Display *display)
{
    displayStderr.release();
    return onLostDisplay(display);
}

} // namespace

void openDisplay()
{
    keepFrameHeap();
    const DisplayMode mode = displayRequest().mode;
    const bool windowed = mode == DisplayMode::window;
    const bool foreign = mode == DisplayMode::root || mode == DisplayMode::windowId;
    // Before any connection, so that SDL's handler, installed over it,
    // passes errors on to it.
    XSetErrorHandler(onXError);
    const char *name = std::getenv("DISPLAY");
    const bool x11 = name && *name && x11DriverChosen();
    // Armed first: its line goes to the standard error held next.
    if (x11)
        limitSilence(name, kProbeSeconds,
                     "is the X server stopped, or the connection to it, such as an ssh tunnel, dead?");
    // Without a descriptor to spare for it, the libraries would have their
    // say before the line; and they could not open the display either.
    if (!displayStderr.hold()) {
        if (const std::string shortage = descriptorShortage(); !shortage.empty())
            displayFail("cannot open the display", shortage);
    }
    if (x11) {
        probeDisplay(name);
        keepToNamedScreen();
        // SDL's and GL's own conversation with the server, once it answers,
        // has longer: a busy machine starts slowly. SDL waits, without a
        // limit of its own, for a window manager to map the window.
        limitSilence(name, kOpenSeconds,
                     "is the X server stopped, the connection to it dead, or a window manager not showing "
                     "the window?");
    }
    if (foreign) {
        std::string action, why;
        if (!chooseForeignWindow(displayRequest(), &action, &why))
            displayFail(action, why);
        int width, height;
        foreignWindowSize(&width, &height);
        choosePreviewScaling(width, height);
    } else {
        chooseScreenFit(windowed);
    }
    introduceToSession(mode);
    if (SDL_Init(SDL_INIT_VIDEO) == -1)
        displayFail("cannot start SDL's video subsystem", SDL_GetError());
    queueOnlyQuitTestEvents();
    requireVisibleDriver();

    // Another program's window keeps its own icon.
    SDL_Surface *icon = foreign ? nullptr : setWindowIcon();
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    display = SDL_SetVideoMode(kPictureWidth, kPictureHeight, 32, windowed || foreign ? SDL_OPENGL : SDL_OPENGL | SDL_FULLSCREEN);
    // The window has taken it.
    if (icon)
        SDL_FreeSurface(icon);
    const std::string action = foreign    ? foreignWindowAction()
                               : windowed ? "cannot open the 640x480 OpenGL window"
                                          : "cannot open the 640x480 full-screen OpenGL display";
    // A window its owner destroyed meanwhile explains any failure: a daemon
    // closing a preview at once.
    if (foreign && (!display || requestRefused()))
        endIfForeignWindowGone();
    if (requestRefused()) {
        std::string reason = refusedReason(probeConnection());
        const char *indirect = std::getenv("LIBGL_ALWAYS_INDIRECT");
        if (indirect && *indirect && std::strcmp(indirect, "0") != 0)
            reason += "; LIBGL_ALWAYS_INDIRECT asks for indirect GLX, which X servers refuse unless started "
                      "with +iglx: unset it";
        displayFail(action, reason);
    }
    if (!display)
        displayFail(action, SDL_GetError());
    // After SDL_SetVideoMode: SDL may set a handler of its own before.
    XSetIOErrorHandler(onLostDisplayWhileOpening);
    if (mode == DisplayMode::fullScreen || windowed)
        checkScreen();
    if (foreign && !watchForeignWindow()) {
        endIfForeignWindowGone();
        displayFail(action, "SDL does not say which X connection draws into it");
    }
    if (const char *reason = applyScreenFit())
        displayFail("cannot cover the screen", reason);
    if (const std::string problem = rectangleTextureProblem(); !problem.empty())
        displayFail("cannot draw rectangle textures", problem);
    // Another program's window keeps its title and its pointer.
    if (!foreign) {
        SDL_WM_SetCaption("OpenGL Test Window", NULL);
        SDL_ShowCursor(SDL_DISABLE);
    }
    syncProbe();
    endSilenceLimit();
    displayStderr.release();
    XSetIOErrorHandler(onLostDisplay);
    closeProbe();
    markDisplayOpen();
    takeQuitRequestsFromNowOn();
}

void presentFrame()
{
    // A window its owner destroyed takes no more frames; the next quit test
    // ends the loop, status 0, as the owner meant.
    if (foreignWindowGone()) {
        postQuitEvent();
        return;
    }
    int width, height;
    if (foreignWindowSize(&width, &height) && presentPreview(width, height))
        return;
    SDL_GL_SwapBuffers();
}
