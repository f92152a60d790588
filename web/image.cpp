// The web page's image decoding: stb_image over the files that the page
// fetches into its virtual file system at the bundle's paths (resources.js).
// The browser's own decoder is not used: it goes through a 2D canvas, which
// alters partly transparent pixels, and reads no GIF. stb_image reads 8- and
// 16-bit PNG, as the desktop does, and gives 16-bit channels as their high
// byte, as SDL_image does.
#include "app/platform.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

#include "app/texture.h"  // Pot, sizeProblem
#include "page.h"

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_BMP
#define STBI_ONLY_GIF
#define STBI_ONLY_PNG
#define STBI_NO_STDIO_WARNINGS
#include "stb_image.h"

SDL_Surface *stageFile(const char *path, bool padded, long largest, std::string *why)
{
    struct stat info;
    if (stat(path, &info) != 0) {
        const int error = errno;
        char fetched[256];
        webFetchProblem(path, fetched, sizeof fetched);
        *why = "the page could not fetch it from beside index.html: " +
               std::string(*fetched ? fetched : std::strerror(error));
        return nullptr;
    }
    int width = 0, height = 0, channels = 0;
    if (!stbi_info(path, &width, &height, &channels)) {
        *why = stbi_failure_reason();
        return nullptr;
    }
    *why = sizeProblem(width, height, largest);
    if (!why->empty())
        return nullptr;
    // Four channels whatever the file holds: an image without alpha comes out
    // opaque, a GIF's transparent colour as transparent black.
    unsigned char *image = stbi_load(path, &width, &height, &channels, 4);
    if (!image) {
        *why = stbi_failure_reason();
        return nullptr;
    }

    const int stagedWidth = padded ? Pot(width) : width;
    const int stagedHeight = padded ? Pot(height) : height;
    SDL_Surface *staging = SDL_CreateRGBSurface(SDL_SWSURFACE, stagedWidth, stagedHeight, 32, 0x000000FF,
                                                0x0000FF00, 0x00FF0000, 0xFF000000);
    if (!staging) {
        *why = SDL_GetError();
        stbi_image_free(image);
        return nullptr;
    }
    // The emulated surface's pixels are not cleared: the padding must be
    // transparent black.
    auto *pixels = static_cast<unsigned char *>(staging->pixels);
    std::memset(pixels, 0, static_cast<std::size_t>(staging->pitch) * stagedHeight);
    for (int row = 0; row < height; ++row)
        std::memcpy(pixels + static_cast<std::size_t>(row) * staging->pitch,
                    image + static_cast<std::size_t>(row) * width * 4, static_cast<std::size_t>(width) * 4);
    stbi_image_free(image);
    return staging;
}
