#include "app/image.h"

#include <SDL_image.h>
#include <cerrno>
#include <csetjmp>
#include <csignal>
#include <cstdint>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "app/platform.h"
#include "app/texture.h"  // Pot

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

// Keeps what a decoding library prints on standard error while it reads a
// broken file (libpng does) off the user's terminal: the one line the loader
// writes carries SDL_image's own reason.
class QuietStderr {
public:
    QuietStderr() : saved_(dup(STDERR_FILENO))
    {
        const int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (saved_ >= 0 && null >= 0)
            dup2(null, STDERR_FILENO);
        if (null >= 0)
            close(null);
    }
    ~QuietStderr()
    {
        if (saved_ >= 0) {
            dup2(saved_, STDERR_FILENO);
            close(saved_);
        }
    }
    QuietStderr(const QuietStderr &) = delete;
    QuietStderr &operator=(const QuietStderr &) = delete;

private:
    int saved_;
};

// Far longer than the largest texture takes to decode.
constexpr unsigned kDecodeSeconds = 5;

// Why SDL_image could not read the image. When the file is not there at all,
// the program was most likely started from the wrong folder.
std::string readProblem(const char *path)
{
    struct stat info;
    const bool missing = stat(path, &info) != 0 && errno == ENOENT;
    return std::string(IMG_GetError()) +
           (missing ? "; start the program from the folder that holds Vorlex.app" : "");
}

// Reads the image, after its header has shown that its size can become a
// texture: SDL_image's GIF reader crashes on a picture of no pixels or of an
// absurd size and shows a cut-short one as whole, and the others would
// allocate whatever a header asks for. Damaged data that passes the header
// can still keep the GIF reader busy for ever, so the decoding is timed.
SDL_Surface *readImage(const char *path, long largest, std::string *why)
{
    if (std::FILE *file = std::fopen(path, "rb")) {
        long width = 0, height = 0;
        const Header header = declaredSize(file, &width, &height);
        std::fclose(file);
        if (header == Header::cutShort)
            *why = "the file is cut short";
        else if (header == Header::noPicture)
            *why = "the file holds no picture";
        else if (header == Header::sized)
            *why = sizeProblem(width, height, largest);
        if (!why->empty())
            return nullptr;
    }
    SDL_Surface *image = nullptr;
    bool timedOut = false;
    {
        const QuietStderr quiet;
        image = decodeWithin(
            kDecodeSeconds, [](void *file) { return IMG_Load(static_cast<const char *>(file)); },
            const_cast<char *>(path), &timedOut);
    }
    if (timedOut) {
        *why = "the image decoder did not finish within " + std::to_string(kDecodeSeconds) + " seconds";
        return nullptr;
    }
    if (!image) {
        *why = readProblem(path);
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
