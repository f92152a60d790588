// The staging surface's format and size, shared by every platform.
#include "app/staging.h"

#include <cstring>

#include "app/texture.h"  // nextPowerOfTwo

SDL_Surface *newStaging(int width, int height, bool padded)
{
    const int stagedWidth = padded ? nextPowerOfTwo(width) : width;
    const int stagedHeight = padded ? nextPowerOfTwo(height) : height;
    SDL_Surface *staging = SDL_CreateRGBSurface(SDL_SWSURFACE, stagedWidth, stagedHeight, 32, 0x000000FF,
                                                0x0000FF00, 0x00FF0000, 0xFF000000);
    // Not every SDL clears a new surface (the web page's does not).
    if (staging)
        std::memset(staging->pixels, 0, static_cast<std::size_t>(staging->pitch) * stagedHeight);
    return staging;
}
