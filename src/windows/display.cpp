// Windows's display: SDL 1.2's own Windows back end with WGL, over the
// system's OpenGL. Full screen is SDL's: it switches the display to 640x480,
// and SDL_Quit, which every way out of the program runs, switches it back;
// Windows itself restores it when a process that changed it ends otherwise.
// The screensaver's full screen is the same display, ended by any input
// (saver.h); its preview draws into a child of another program's window
// (preview.h). Implements openDisplay() and presentFrame() of platform.h.
#include "app/platform.h"

#include <SDL_opengl.h>
#include <cstdlib>
#include <string>

#include "app/display_request.h"
#include "sdl12/display_setup.h"
#include "app/fail.h"
#include "app/quit.h"
#include "draw/picture.h"
#include "windows/preview.h"
#include "windows/saver.h"

namespace {

// The surface SDL_SetVideoMode gave; SDL owns it.
SDL_Surface *display;

// SDL 1.2's filter: 0 drops the event, 1 lets SDL queue it. Alt+F4 closes a
// window on Windows, and SDL takes it as a key press, full screen or not;
// Ctrl+Q is the picture's "Q", as on Linux. The screensaver takes every key,
// click and mouse move itself.
int filterEvents(const SDL_Event *event)
{
    if (saverRequest().mode == SaverMode::fullScreen && takeSaverInput(*event))
        return 0;
    if (event->type != SDL_KEYDOWN)
        return 1;
    const SDL_keysym &key = event->key.keysym;
    const bool altF4 = key.sym == SDLK_F4 && (key.mod & KMOD_ALT);
    const bool ctrlQ = key.sym == SDLK_q && (key.mod & KMOD_CTRL);
    if (!altF4 && !ctrlQ)
        return 1;
    postQuitEvent();
    return 0;
}

} // namespace

void openDisplay()
{
    const SaverMode saver = saverRequest().mode;
    const bool windowed = saver == SaverMode::none && displayRequest().mode == DisplayMode::window;
    const bool preview = saver == SaverMode::preview;
    if (preview)
        openPreviewWindow(saverRequest().host);
    if (SDL_Init(SDL_INIT_VIDEO) == -1)
        startFail("cannot start SDL's video subsystem", SDL_GetError());
    queueOnlyQuitTestEvents();
    // SDL's filter sees only the events SDL does not ignore; the saver's
    // takes every mouse move and click there, so none is queued.
    if (saver == SaverMode::fullScreen) {
        SDL_EventState(SDL_MOUSEMOTION, SDL_ENABLE);
        SDL_EventState(SDL_MOUSEBUTTONDOWN, SDL_ENABLE);
    }
    // SDL_Init clears any filter set before it.
    SDL_SetEventFilter(filterEvents);

    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    display = SDL_SetVideoMode(kPictureWidth, kPictureHeight, 32, windowed || preview ? SDL_OPENGL : SDL_OPENGL | SDL_FULLSCREEN);
    // A preview closed while SDL set it up: nothing is wrong.
    if (!display && preview && previewGone()) {
        SDL_Quit();
        std::exit(0);
    }
    if (!display && preview)
        startFail("cannot draw the preview", SDL_GetError());
    if (!display)
        startFail(windowed ? "cannot open the 640x480 OpenGL window"
                           : "cannot open the 640x480 full-screen OpenGL display",
                  SDL_GetError());
    if (const std::string problem = rectangleTextureProblem(); !problem.empty())
        startFail("cannot draw rectangle textures", problem.c_str());
    // The preview sits in another program's window, which keeps its title
    // and its pointer.
    if (preview) {
        fitPreview();
    } else {
        SDL_WM_SetCaption("OpenGL Test Window", NULL);
        SDL_ShowCursor(SDL_DISABLE);
    }
    takeQuitRequestsFromNowOn();
}

void presentFrame()
{
    // A preview whose window has gone takes no more frames; the next quit
    // test ends the loop, status 0, as the window's owner meant.
    if (saverRequest().mode == SaverMode::preview) {
        if (previewGone()) {
            postQuitEvent();
            return;
        }
        fitPreview();
    }
    SDL_GL_SwapBuffers();
}
