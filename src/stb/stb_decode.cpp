#include "stb/stb_decode.h"

#include <cerrno>
#include <cstring>

#include "app/budget.h"   // sizeProblem
#include "app/header.h"   // headerProblem
#include "app/staging.h"

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_BMP
#define STBI_ONLY_GIF
#define STBI_ONLY_PNG
#define STBI_NO_STDIO_WARNINGS
#include "stb_image.h"

namespace {

// stb_image's reason, in the desktop's words where the two decoders fail
// alike: neither knows the format.
std::string decoderProblem()
{
    const std::string reason = stbi_failure_reason();
    return reason == "unknown image type" ? "Unsupported image format" : reason;
}

// Four channels whatever the file holds: an image without alpha comes out
// opaque, a GIF's transparent colour as transparent black.
unsigned char *readImage(std::FILE *file, long largest, int *width, int *height, std::string *why)
{
    *why = headerProblem(file, largest);
    if (why->empty() && std::fseek(file, 0, SEEK_SET) != 0)
        *why = std::strerror(errno);
    int channels = 0;
    if (why->empty() && !stbi_info_from_file(file, width, height, &channels))
        *why = decoderProblem();
    if (why->empty())
        *why = sizeProblem(*width, *height, largest);
    unsigned char *image = nullptr;
    if (why->empty() && !(image = stbi_load_from_file(file, width, height, &channels, 4)))
        *why = decoderProblem();
    return image;
}

} // namespace

SDL_Surface *stageStbFile(std::FILE *file, bool padded, long largest, std::string *why)
{
    int width = 0, height = 0;
    unsigned char *image = readImage(file, largest, &width, &height, why);
    if (!image)
        return nullptr;

    SDL_Surface *staging = newStaging(width, height, padded);
    if (!staging) {
        *why = SDL_GetError();
        stbi_image_free(image);
        return nullptr;
    }
    auto *pixels = static_cast<unsigned char *>(staging->pixels);
    for (int row = 0; row < height; ++row)
        std::memcpy(pixels + static_cast<std::size_t>(row) * staging->pitch,
                    image + static_cast<std::size_t>(row) * width * 4, static_cast<std::size_t>(width) * 4);
    stbi_image_free(image);
    return staging;
}
