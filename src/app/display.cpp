#include "app/display.h"

#include <SDL_opengl.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/screen.h"
#include "app/texture.h"
#include "shell/events.h"

SDL_Surface *mWIN;

namespace {

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

[[noreturn]] void startFail(const char *action, const char *reason)
{
    // Compose the line first: SDL's reason lives in SDL's own storage.
    char line[1024];
    std::snprintf(line, sizeof line, "Vorlex: %s: %s\n", action,
                  reason && *reason ? reason : "no reason given");
    SDL_Quit();
    std::fputs(line, stderr);
    std::exit(1);
}

void inits()
{
    chooseScreenFit();
    if (SDL_Init(SDL_INIT_VIDEO) == -1)
        startFail("cannot start SDL's video subsystem", SDL_GetError());
    // The shell's choice of what SDL queues; SDL_Init has just reset it.
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

    glClearColor(0.0, 0.0, 0.0, 1.0);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_BLEND);
    glShadeModel(GL_FLAT);
    // y runs from -1 at the top edge to 479 at the bottom: the whole picture
    // sits one pixel lower than under a plain 0-to-480 projection.
    glMatrixMode(GL_PROJECTION);
    glOrtho(0.0, 640.0, 479.0, -1.0, 0.0, 1.0);
    glMatrixMode(GL_MODELVIEW);

    creatTex(VORLEX_RESOURCES "image.bmp", &texA);
    creatTex(VORLEX_RESOURCES "image.gif", &texB);
    creatTex(VORLEX_RESOURCES "image.png", &texC);
    creatTex2(VORLEX_RESOURCES "img72.bmp", &texD);
    creatTex2(VORLEX_RESOURCES "img48.gif", &texE);
    creatTex2(VORLEX_RESOURCES "img24.png", &texF);
    creatTex2(VORLEX_RESOURCES "fontA06.gif", &imgFontA[0]);
    creatTex2(VORLEX_RESOURCES "fontA12.gif", &imgFontA[1]);
    creatTex2(VORLEX_RESOURCES "fontB06.gif", &imgFontB[0]);
    creatTex2(VORLEX_RESOURCES "fontB12.gif", &imgFontB[1]);
}
