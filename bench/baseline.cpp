#include "baseline.h"

#include <SDL.h>
#include <SDL_opengl.h>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/platform.h"
#include "draw/scenes/slots.h"

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
    if (!SDL_SetVideoMode(640, 480, 32, SDL_OPENGL | SDL_FULLSCREEN))
        fail(tool, "cannot open the 640x480 full-screen OpenGL display", SDL_GetError());
}

// The calls stand where the program makes them; the call-sequence test of
// the replay holds the two to the same sequence.
void replayStartup(const char *tool)
{
    glClearColor(0.0, 0.0, 0.0, 1.0);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_BLEND);
    glShadeModel(GL_FLAT);
    glMatrixMode(GL_PROJECTION);
    glOrtho(0.0, 640.0, 479.0, -1.0, 0.0, 1.0);
    glMatrixMode(GL_MODELVIEW);

    for (const TextureSlot &slot : textureTable) {
        const std::string path = std::string(VORLEX_RESOURCES) + slot.file;
        const GLenum target = slot.padded ? GL_TEXTURE_2D : GL_TEXTURE_RECTANGLE_ARB;
        GLint largest = 0;
        glGetIntegerv(slot.padded ? GL_MAX_TEXTURE_SIZE : GL_MAX_RECTANGLE_TEXTURE_SIZE_ARB, &largest);
        std::string why;
        SDL_Surface *staging = stageFile(path.c_str(), slot.padded, largest, &why);
        if (!staging)
            fail(tool, "cannot load \"" + path + "\"", why.c_str());
        GLuint name = 0;
        glGenTextures(1, &name);
        if (!slot.padded)
            glEnable(target);
        glBindTexture(target, name);
        glTexParameteri(target, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glTexParameteri(target, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexImage2D(target, 0, GL_RGBA, staging->w, staging->h, 0, GL_RGBA, GL_UNSIGNED_BYTE, staging->pixels);
        if (!slot.padded)
            glDisable(target);
        *slot.name = name;
        SDL_FreeSurface(staging);
    }
}
