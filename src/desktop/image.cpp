// The desktop's image files up to the RGBA pixels that become a texture:
// opening the file safely, its header check, the guarded decode (decode.h)
// and the staging copy. Implements stageFile() of platform.h.
#include "desktop/image.h"

#include <SDL_image.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "desktop/decode.h"
#include "app/platform.h"
#include "app/staging.h"

namespace {

// Far longer than the largest texture takes to decode.
constexpr unsigned kDecodeSeconds = 5;

const char *kindOf(mode_t mode)
{
    if (S_ISDIR(mode))
        return "a folder";
    if (S_ISFIFO(mode))
        return "a FIFO";
    if (S_ISCHR(mode))
        return "a character device";
    if (S_ISBLK(mode))
        return "a block device";
    if (S_ISSOCK(mode))
        return "a socket";
    return "not a regular file";
}

// Opens the image file for reading, once: what is checked is then what is
// decoded. O_NONBLOCK keeps a FIFO from holding start-up for ever; only a
// regular file goes on. Null with the reason in *why.
std::FILE *openImage(const char *path, std::string *why)
{
    const int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        const int error = errno;
        struct stat link;
        if (error != ENOENT)
            *why = std::strerror(error);
        else if (lstat(path, &link) == 0)
            *why = "a link to a missing file";
        else  // most likely started from the wrong folder
            *why = std::string(std::strerror(error)) + "; start the program from the folder that holds Vorlex.app";
        return nullptr;
    }
    struct stat info;
    if (fstat(fd, &info) != 0)
        *why = std::strerror(errno);
    else if (!S_ISREG(info.st_mode))
        *why = std::string("it is ") + kindOf(info.st_mode) + ", not an image file";
    if (!why->empty()) {
        close(fd);
        return nullptr;
    }
    std::FILE *file = fdopen(fd, "rb");
    if (!file) {
        *why = std::strerror(errno);
        close(fd);
    }
    return file;
}

// Reads the image, after its header has shown that its size can become a
// texture: SDL_image's GIF reader crashes on a picture of no pixels or of an
// absurd size and shows a cut-short one as whole, and the others would
// allocate whatever a header asks for. Damaged data that passes the header
// can still keep the GIF reader busy for ever, so the decoding is timed.
SDL_Surface *readImage(const char *path, long largest, std::string *why)
{
    std::FILE *file = openImage(path, why);
    if (!file)
        return nullptr;
    *why = headerProblem(file, largest);
    if (!why->empty() || std::fseek(file, 0, SEEK_SET) != 0) {
        if (why->empty())
            *why = std::strerror(errno);
        std::fclose(file);
        return nullptr;
    }
    SDL_Surface *image = nullptr;
    bool timedOut = false;
    // SDL_image closes the file, through the RWops, whatever it finds.
    image = decodeWithin(
        kDecodeSeconds,
        [](void *from) { return IMG_Load_RW(SDL_RWFromFP(static_cast<std::FILE *>(from), 1), 1); },
        file, &timedOut);
    if (timedOut) {
        *why = "the image decoder did not finish within " + std::to_string(kDecodeSeconds) + " seconds";
        return nullptr;
    }
    if (!image) {
        *why = IMG_GetError();
        return nullptr;
    }
    // Formats without a header check, and decoders that disagree with theirs.
    *why = sizeProblem(image->w, image->h, largest);
    if (!why->empty()) {
        SDL_FreeSurface(image);
        return nullptr;
    }
    return image;
}

} // namespace

SDL_Surface *stageImage(SDL_Surface *image, bool padded)
{
    SDL_Surface *staging = newStaging(image->w, image->h, padded);
    if (!staging)
        return nullptr;
    // Copy the image's own alpha rather than blending the image onto the
    // staging surface.
    if (image->flags & SDL_SRCALPHA)
        SDL_SetAlpha(image, 0, 0);
    SDL_Rect area = {0, 0, static_cast<Uint16>(image->w), static_cast<Uint16>(image->h)};
    SDL_BlitSurface(image, &area, staging, &area);
    return staging;
}

SDL_Surface *stageFile(const char *path, bool padded, long largest, std::string *why)
{
    SDL_Surface *image = readImage(path, largest, why);
    if (!image)
        return nullptr;
    SDL_Surface *staging = stageImage(image, padded);
    if (!staging)
        *why = SDL_GetError();
    SDL_FreeSurface(image);
    return staging;
}
