#include "baseline.h"

#include <SDL.h>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "draw/picture.h"

namespace {

[[noreturn]] void fail(const char *tool, const std::string &what, const char *why)
{
    std::fprintf(stderr, "%s: %s: %s\n", tool, what.c_str(), why);
    SDL_Quit();
    std::exit(1);
}

} // namespace

void openBareDisplay(const char *tool)
{
    if (SDL_Init(SDL_INIT_VIDEO) == -1)
        fail(tool, "cannot start SDL's video subsystem", SDL_GetError());
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    if (!SDL_SetVideoMode(kPictureWidth, kPictureHeight, 32, SDL_OPENGL | SDL_FULLSCREEN))
        fail(tool, "cannot open the 640x480 full-screen OpenGL display", SDL_GetError());
}
