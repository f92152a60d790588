// Fuzzes what happens to an image file's bytes before they reach GL: the
// header check, SDL_image's decoding, the size rules and the copy into the
// RGBA staging surface, in both the padded and the exact form.
#include <SDL.h>
#include <SDL_image.h>
#include <cstdint>
#include <cstdio>

#include "desktop/image.h"

// Small enough to keep each run quick; the program's own limit is the GL's.
constexpr long kLargest = 1024;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    // As the loader does: refuse what the header shows cannot become a texture.
    if (std::FILE *file = fmemopen(const_cast<std::uint8_t *>(data), size, "rb")) {
        long width = 0, height = 0;
        const Header header = declaredSize(file, &width, &height);
        std::fclose(file);
        if (header == Header::cutShort || header == Header::noPicture)
            return 0;
        if (header == Header::sized && !sizeProblem(width, height, kLargest).empty())
            return 0;
    }
    // As the loader does: give up on a decoder that does not finish. A second
    // is plenty for the sizes allowed here.
    bool timedOut = false;
    SDL_RWops *source = SDL_RWFromConstMem(data, static_cast<int>(size));
    SDL_Surface *image = decodeWithin(
        1, [](void *from) { return IMG_Load_RW(static_cast<SDL_RWops *>(from), 0); }, source,
        &timedOut);
    SDL_RWclose(source);
    if (!image)
        return 0;
    if (sizeProblem(image->w, image->h, kLargest).empty()) {
        for (const bool padded : {false, true})
            if (SDL_Surface *staging = stageImage(image, padded))
                SDL_FreeSurface(staging);
    }
    SDL_FreeSurface(image);
    return 0;
}
