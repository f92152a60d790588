// The SDL stand-in's images and surfaces: the loader's reads, the staging
// surface and the blit, each counted live until freed.
#include "fake_sdl.h"

#include <SDL_image.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

#include "fakes.h"

extern "C" {

// The program hands SDL_image the file it opened and checked. The stand-in
// keeps the file's path, relative to the working directory as the program
// named it, to look the image up by.
SDL_RWops *SDL_RWFromFP(FILE *file, int autoclose)
{
    char link[64], path[4096];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", fileno(file));
    const ssize_t length = readlink(link, path, sizeof path - 1);
    std::string name(path, length > 0 ? static_cast<std::size_t>(length) : 0);
    char cwd[4096];
    if (getcwd(cwd, sizeof cwd) && name.compare(0, std::strlen(cwd) + 1, std::string(cwd) + "/") == 0)
        name.erase(0, std::strlen(cwd) + 1);
    auto *source = static_cast<SDL_RWops *>(std::calloc(1, sizeof(SDL_RWops)));
    source->hidden.unknown.data1 = new std::string(name);
    if (autoclose)
        std::fclose(file);
    return source;
}

// The window icon, the one image the program decodes from memory.
SDL_RWops *SDL_RWFromConstMem(const void *, int)
{
    auto *source = static_cast<SDL_RWops *>(std::calloc(1, sizeof(SDL_RWops)));
    source->hidden.unknown.data1 = new std::string(kFakeIconName);
    return source;
}

SDL_Surface *IMG_Load_RW(SDL_RWops *source, int freesrc)
{
    auto *path = static_cast<std::string *>(source->hidden.unknown.data1);
    recordSdl("IMG_Load_RW(\"" + *path + "\")");
    const auto found = fakeSdl.images.find(*path);
    if (freesrc) {
        delete path;
        std::free(source);
    }
    if (found == fakeSdl.images.end()) {
        sdlError = "Unsupported image format";
        return nullptr;
    }
    return newFakeSurface(found->second.w, found->second.h, found->second.flags, false);
}

SDL_Surface *SDL_CreateRGBSurface(Uint32 flags, int w, int h, int depth, Uint32 r, Uint32 g,
                                  Uint32 b, Uint32 a)
{
    char text[128];
    std::snprintf(text, sizeof text, "SDL_CreateRGBSurface(%u, %d, %d, %d, 0x%08X, 0x%08X, 0x%08X, 0x%08X)",
                  flags, w, h, depth, r, g, b, a);
    recordSdl(text);
    if (fakeSdl.stagingFails) {
        sdlError = "Out of memory";
        return nullptr;
    }
    return newFakeSurface(w, h, flags, true);
}

int SDL_SetAlpha(SDL_Surface *surface, Uint32 flags, Uint8 alpha)
{
    recordSdl("SDL_SetAlpha(" + std::to_string(flags) + ", " + std::to_string(alpha) + ")");
    if (!(flags & SDL_SRCALPHA))
        surface->flags &= ~SDL_SRCALPHA;
    return 0;
}

int SDL_UpperBlit(SDL_Surface *, SDL_Rect *source, SDL_Surface *, SDL_Rect *target)
{
    char text[128];
    std::snprintf(text, sizeof text, "SDL_UpperBlit({%d, %d, %u, %u}, {%d, %d, %u, %u})", source->x,
                  source->y, source->w, source->h, target->x, target->y, target->w, target->h);
    recordSdl(text);
    return 0;
}

void SDL_FreeSurface(SDL_Surface *surface)
{
    recordSdl("SDL_FreeSurface(" + std::to_string(surface->w) + "x" + std::to_string(surface->h) + ")");
    std::free(surface->pixels);
    std::free(surface);
    --fakeSdl.surfacesLive;
}

} // extern "C"
