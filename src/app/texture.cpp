#include "app/texture.h"

#include <SDL.h>
#include <SDL_opengl.h>
#include <climits>
#include <cstdio>
#include <string>
#include <unistd.h>

#include "app/platform.h"
#include "app/fail.h"

namespace {

// Ends start-up over the image at path; frees the staging surface first.
[[noreturn]] void loadFail(const char *path, const char *reason, SDL_Surface *staging = nullptr)
{
    char why[640];
    std::snprintf(why, sizeof why, "%s", reason && *reason ? reason : "no reason given");
    if (staging)
        SDL_FreeSurface(staging);

    char cwd[PATH_MAX];
    if (!getcwd(cwd, sizeof cwd))
        std::snprintf(cwd, sizeof cwd, "unknown");
    char action[PATH_MAX + 640];
    std::snprintf(action, sizeof action, "cannot load \"%s\" (working directory %s)", path, cwd);
    startFail(action, why);
}

// Both loaders, step for step; only the target and the padding differ.
void loadTexture(const char *path, GLuint *texture, GLenum target)
{
    const bool rectangle = target == GL_TEXTURE_RECTANGLE_ARB;
    GLint largest = 0;
    glGetIntegerv(rectangle ? GL_MAX_RECTANGLE_TEXTURE_SIZE_ARB : GL_MAX_TEXTURE_SIZE, &largest);

    std::string why;
    SDL_Surface *staging = stageFile(path, !rectangle, largest, &why);
    if (!staging)
        loadFail(path, why.c_str());

    GLuint name = 0;
    glGenTextures(1, &name);
    if (rectangle)
        glEnable(GL_TEXTURE_RECTANGLE_ARB);
    glBindTexture(target, name);
    glTexParameteri(target, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(target, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    // Rows of 4 x width bytes fit the default unpack alignment of 4.
    glTexImage2D(target, 0, GL_RGBA, staging->w, staging->h, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 staging->pixels);
    if (rectangle)
        glDisable(GL_TEXTURE_RECTANGLE_ARB);

    *texture = name;
    if (name == 0)
        loadFail(path, "OpenGL gave no texture name", staging);
    SDL_FreeSurface(staging);
}

} // namespace

int nextPowerOfTwo(int n)
{
    int p = 1;
    // Stop at 2^30: doubling past it would overflow. Callers pass image
    // sides, which are checked against the GL's largest texture first.
    while (p < n && p < (1 << 30))
        p *= 2;
    return p;
}

void createPotTexture(const char *path, GLuint *texture)
{
    loadTexture(path, texture, GL_TEXTURE_2D);
}

void createRectTexture(const char *path, GLuint *texture)
{
    loadTexture(path, texture, GL_TEXTURE_RECTANGLE_ARB);
}
