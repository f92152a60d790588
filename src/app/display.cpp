// The desktop's display: SDL 1.2 (sdl12-compat) on X11 with Mesa's OpenGL.
#include "app/platform.h"

#include <SDL_opengl.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/fail.h"
#include "app/screen.h"

SDL_Surface *mWIN;

namespace {

// SDL's queue holds 128 events and drops new ones when full, and the loop
// takes one a frame: a moving mouse would fill it and crowd out an Escape
// press or a quit request. So SDL queues key presses and quit requests alone.
// SDL_Init resets this, so it must follow it.
void queueOnlyQuitTestEvents()
{
    static const Uint8 unused[] = {
        SDL_ACTIVEEVENT,     SDL_KEYUP,         SDL_MOUSEMOTION,   SDL_MOUSEBUTTONDOWN,
        SDL_MOUSEBUTTONUP,   SDL_JOYAXISMOTION, SDL_JOYBALLMOTION, SDL_JOYHATMOTION,
        SDL_JOYBUTTONDOWN,   SDL_JOYBUTTONUP,   SDL_SYSWMEVENT,    SDL_VIDEORESIZE,
        SDL_VIDEOEXPOSE,
    };
    for (const Uint8 type : unused)
        SDL_EventState(type, SDL_IGNORE);
}

// SDL falls back on a video driver that shows nothing when there is no
// display; running unseen forever is worse than saying so. A driver the user
// chose by name is honoured, which is also how a headless run is asked for.
void requireVisibleDriver()
{
    const char *chosen = std::getenv("SDL_VIDEODRIVER");
    if (chosen && *chosen)
        return;
    char name[32];
    if (!SDL_VideoDriverName(name, sizeof name))
        return;
    if (std::strcmp(name, "offscreen") == 0 || std::strcmp(name, "dummy") == 0) {
        const char *display = std::getenv("DISPLAY");
        char reason[160];
        std::snprintf(reason, sizeof reason,
                      "no display to show it on (DISPLAY is %s; SDL chose its \"%s\" driver)",
                      display && *display ? "not reachable" : "not set", name);
        startFail("cannot open the display", reason);
    }
}

bool hasExtension(const char *extensions, const char *wanted)
{
    const std::size_t length = std::strlen(wanted);
    for (const char *at = extensions; at && (at = std::strstr(at, wanted)); at += length) {
        const bool starts = at == extensions || at[-1] == ' ';
        const bool ends = at[length] == ' ' || at[length] == '\0';
        if (starts && ends)
            return true;
    }
    return false;
}

} // namespace

void openDisplay()
{
    chooseScreenFit();
    if (SDL_Init(SDL_INIT_VIDEO) == -1)
        startFail("cannot start SDL's video subsystem", SDL_GetError());
    queueOnlyQuitTestEvents();
    requireVisibleDriver();

    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    mWIN = SDL_SetVideoMode(640, 480, 32, SDL_OPENGL | SDL_FULLSCREEN);
    if (!mWIN)
        startFail("cannot open the 640x480 full-screen OpenGL display", SDL_GetError());
    if (const char *reason = applyScreenFit())
        startFail("cannot cover the screen", reason);
    if (!hasExtension(reinterpret_cast<const char *>(glGetString(GL_EXTENSIONS)),
                      "GL_ARB_texture_rectangle")) {
        const char *renderer = reinterpret_cast<const char *>(glGetString(GL_RENDERER));
        char reason[256];
        std::snprintf(reason, sizeof reason,
                      "the OpenGL renderer \"%s\" lacks the GL_ARB_texture_rectangle extension",
                      renderer ? renderer : "unknown");
        startFail("cannot draw rectangle textures", reason);
    }
    SDL_WM_SetCaption("OpenGL Test Window", NULL);
    SDL_ShowCursor(SDL_DISABLE);
}

void presentFrame()
{
    SDL_GL_SwapBuffers();
}
