// The web page's image decoding: stb_image (stb/stb_decode.h) over the files
// that the page fetches into its virtual file system at the bundle's paths
// (resources.js). The browser's own decoder is not used: it goes through a
// 2D canvas, which alters partly transparent pixels, and reads no GIF.
// Implements stageFile() of platform.h.
#include "app/platform.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "stb/stb_decode.h"
#include "page.h"

SDL_Surface *stageFile(const char *path, bool padded, long largest, std::string *why)
{
    std::FILE *file = std::fopen(path, "rb");
    if (!file) {
        const int error = errno;
        char fetched[256];
        webFetchProblem(path, fetched, sizeof fetched);
        *why = "the page could not fetch it from beside index.html: " +
               std::string(*fetched ? fetched : std::strerror(error));
        return nullptr;
    }
    SDL_Surface *staging = stageStbFile(file, padded, largest, why);
    std::fclose(file);
    return staging;
}
