// Windows's display: SDL 1.2's own Windows back end with WGL, over the
// system's OpenGL. Full screen is SDL's: it switches the display to 640x480,
// and SDL_Quit, which every way out of the program runs, switches it back;
// Windows itself restores it when a process that changed it ends otherwise.
#include "app/platform.h"

#include <SDL_opengl.h>
#include <string>

#include "app/display_request.h"
#include "app/display_setup.h"
#include "app/fail.h"
#include "app/quit.h"

namespace {

// The surface SDL_SetVideoMode gave; SDL owns it.
SDL_Surface *display;

// SDL 1.2's filter: 0 drops the event, 1 lets SDL queue it. Alt+F4 closes a
// window on Windows, and SDL takes it as a key press, full screen or not;
// Ctrl+Q is the picture's "Q", as on Linux.
int quitKeyFilter(const SDL_Event *event)
{
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
    const bool windowed = displayRequest().mode == DisplayMode::window;
    if (SDL_Init(SDL_INIT_VIDEO) == -1)
        startFail("cannot start SDL's video subsystem", SDL_GetError());
    queueOnlyQuitTestEvents();
    // SDL_Init clears any filter set before it.
    SDL_SetEventFilter(quitKeyFilter);

    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    display = SDL_SetVideoMode(640, 480, 32, windowed ? SDL_OPENGL : SDL_OPENGL | SDL_FULLSCREEN);
    if (!display)
        startFail(windowed ? "cannot open the 640x480 OpenGL window"
                           : "cannot open the 640x480 full-screen OpenGL display",
                  SDL_GetError());
    if (const std::string problem = rectangleTextureProblem(); !problem.empty())
        startFail("cannot draw rectangle textures", problem.c_str());
    SDL_WM_SetCaption("OpenGL Test Window", NULL);
    SDL_ShowCursor(SDL_DISABLE);
    takeQuitRequestsFromNowOn();
}

void presentFrame()
{
    SDL_GL_SwapBuffers();
}
