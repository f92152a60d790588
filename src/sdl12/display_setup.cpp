#include "sdl12/display_setup.h"

#include <SDL.h>
#include <SDL_opengl.h>
#include <cstring>

namespace {

// Whether the space-separated list names `wanted`, whole.
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

std::string rectangleTextureProblem()
{
    if (hasExtension(reinterpret_cast<const char *>(glGetString(GL_EXTENSIONS)), "GL_ARB_texture_rectangle"))
        return "";
    const char *renderer = reinterpret_cast<const char *>(glGetString(GL_RENDERER));
    return "the OpenGL renderer \"" + std::string(renderer ? renderer : "unknown") +
           "\" lacks the GL_ARB_texture_rectangle extension";
}
