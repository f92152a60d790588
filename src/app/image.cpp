#include "app/image.h"

#include <csetjmp>
#include <csignal>
#include <cstdint>
#include <ctime>
#include <unistd.h>


namespace {

bool readBytes(std::FILE *file, unsigned char *into, std::size_t count)
{
    return std::fread(into, 1, count, file) == count;
}

long little16(const unsigned char *p) { return p[0] | (p[1] << 8); }
long little32(const unsigned char *p)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
                                     (static_cast<std::uint32_t>(p[2]) << 16) |
                                     (static_cast<std::uint32_t>(p[3]) << 24));
}
long big32(const unsigned char *p)
{
    return static_cast<long>((static_cast<std::uint32_t>(p[0]) << 24) | (static_cast<std::uint32_t>(p[1]) << 16) |
                             (static_cast<std::uint32_t>(p[2]) << 8) | static_cast<std::uint32_t>(p[3]));
}

// Skips a colour table of 3 x 2^(n+1) bytes when `flags` announces one.
bool skipColourTable(std::FILE *file, int flags)
{
    return !(flags & 0x80) || std::fseek(file, 3L << ((flags & 7) + 1), SEEK_CUR) == 0;
}

// Skips data sub-blocks up to the empty one that ends them; false when the
// file ends first. fseek past the end succeeds, so the reads tell.
bool skipSubBlocks(std::FILE *file)
{
    for (;;) {
        const int length = std::fgetc(file);
        if (length == EOF)
            return false;
        if (length == 0)
            return true;
        if (std::fseek(file, length - 1, SEEK_CUR) != 0 || std::fgetc(file) == EOF)
            return false;
    }
}

// A GIF's picture is as large as its first image descriptor says, which is
// what SDL_image sizes its surface by; the logical screen does not count.
// SDL_image shows a picture whose data is cut short as if it were whole, and
// can loop for ever on a file that ends inside its blocks, so the blocks are
// walked to the end of the first picture's data and a GIF that ends before it
// never reaches the decoder.
Header gifSize(std::FILE *file, const unsigned char *screen, long *width, long *height)
{
    if (!skipColourTable(file, screen[10]))
        return Header::cutShort;
    for (;;) {
        const int block = std::fgetc(file);
        if (block == EOF)
            return Header::cutShort;
        if (block == 0x3B)  // the trailer, before any picture
            return Header::noPicture;
        if (block == 0x2C) {  // image descriptor: left, top, width, height, flags
            unsigned char descriptor[9];
            if (!readBytes(file, descriptor, sizeof descriptor))
                return Header::cutShort;
            *width = little16(descriptor + 4);
            *height = little16(descriptor + 6);
            const bool whole = skipColourTable(file, descriptor[8]) && std::fgetc(file) != EOF &&
                               skipSubBlocks(file);  // LZW code size, then the data
            return whole ? Header::sized : Header::cutShort;
        }
        // SDL_image passes over any other byte between blocks, so the walk does too.
        if (block == 0x21 && (std::fgetc(file) == EOF || !skipSubBlocks(file)))  // an extension
            return Header::cutShort;
    }
}

sigjmp_buf deadline;

void onDeadline(int)
{
    siglongjmp(deadline, 1);
}

} // namespace

Header declaredSize(std::FILE *file, long *width, long *height)
{
    unsigned char head[26];
    if (!readBytes(file, head, 13))
        return Header::unknown;
    if (head[0] == 'G' && head[1] == 'I' && head[2] == 'F')
        return gifSize(file, head, width, height);
    if (!readBytes(file, head + 13, sizeof head - 13))
        return Header::unknown;
    if (head[0] == 0x89 && head[1] == 'P' && head[2] == 'N' && head[3] == 'G') {
        *width = big32(head + 16);
        *height = big32(head + 20);
        return Header::sized;
    }
    if (head[0] == 'B' && head[1] == 'M') {
        if (little32(head + 14) == 12) {  // the old OS/2 header has 16-bit sides
            *width = little16(head + 18);
            *height = little16(head + 20);
        } else {
            *width = little32(head + 18);
            *height = little32(head + 22);
            if (*height < 0)  // rows stored top down
                *height = -*height;
        }
        return Header::sized;
    }
    return Header::unknown;
}

std::string sizeProblem(long width, long height, long largest)
{
    if (width <= 0 || height <= 0)
        return "the image has no pixels (" + std::to_string(width) + "x" + std::to_string(height) + ")";
    if (width > largest || height > largest)
        return "the image is " + std::to_string(width) + "x" + std::to_string(height) +
               ", larger than the largest texture this OpenGL can hold (" + std::to_string(largest) +
               " on a side)";
    return "";
}

int Pot(int n)
{
    int p = 1;
    // Stop at 2^30: doubling past it would overflow. Callers pass image
    // sides, which are checked against the GL's largest texture first.
    while (p < n && p < (1 << 30))
        p *= 2;
    return p;
}

SDL_Surface *decodeWithin(unsigned seconds, SDL_Surface *(*decode)(void *), void *context,
                          bool *timedOut)
{
    *timedOut = false;
    // A timer of this thread's own: GL's worker threads must not take the
    // signal, and SIGALRM is left to whoever else may use it (libFuzzer does).
    struct sigaction onTime = {}, previous = {};
    onTime.sa_handler = onDeadline;
    sigemptyset(&onTime.sa_mask);
    sigaction(SIGVTALRM, &onTime, &previous);
    sigevent event = {};
    event.sigev_notify = SIGEV_THREAD_ID;
    event.sigev_signo = SIGVTALRM;
    event._sigev_un._tid = gettid();
    timer_t timer;
    const bool timed = timer_create(CLOCK_MONOTONIC, &event, &timer) == 0;

    SDL_Surface *volatile image = nullptr;
    if (sigsetjmp(deadline, 1) == 0) {
        if (timed) {
            itimerspec after = {};
            after.it_value.tv_sec = seconds;
            timer_settime(timer, 0, &after, nullptr);
        }
        image = decode(context);
    } else {
        *timedOut = true;
    }
    if (timed)
        timer_delete(timer);
    sigaction(SIGVTALRM, &previous, nullptr);
    return image;
}

SDL_Surface *stageImage(SDL_Surface *image, bool padded)
{
    const int width = padded ? Pot(image->w) : image->w;
    const int height = padded ? Pot(image->h) : image->h;
    // Fixed masks: the bytes lie red, green, blue, alpha on a little-endian
    // machine, as GL_RGBA / GL_UNSIGNED_BYTE reads them. New pixels are
    // transparent black, which is what the padding shows.
    SDL_Surface *staging = SDL_CreateRGBSurface(SDL_SWSURFACE, width, height, 32, 0x000000FF,
                                                0x0000FF00, 0x00FF0000, 0xFF000000);
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
