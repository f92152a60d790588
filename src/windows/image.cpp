// Windows's image decoding: stb_image (stb/stb_decode.h), as SDL_image is
// not built for Windows here. Implements stageFile() of platform.h.
#include "app/platform.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "stb/stb_decode.h"

SDL_Surface *stageFile(const char *path, bool padded, long largest, std::string *why)
{
    std::FILE *file = std::fopen(path, "rb");
    if (!file) {
        *why = std::strerror(errno);
        return nullptr;
    }
    SDL_Surface *staging = stageStbFile(file, padded, largest, why);
    std::fclose(file);
    return staging;
}
