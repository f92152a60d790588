#include "app/image.h"

#include <SDL_image.h>
#include <cerrno>
#include <csetjmp>
#include <csignal>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "app/fail.h"
#ifdef VORLEX_SANITIZED
#include <sanitizer/common_interface_defs.h>
#endif
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

// Reads a GIF's blocks, counting the bytes it passes. A file may be a 2 GB
// hole after its header, which the walk would otherwise pass over a byte at a
// time for most of a minute.
class GifWalk {
public:
    explicit GifWalk(std::FILE *file) : file_(file) {}

    int next()
    {
        ++at_;
        return std::fgetc(file_);
    }
    bool read(unsigned char *into, std::size_t count)
    {
        at_ += static_cast<long>(count);
        return readBytes(file_, into, count);
    }
    // fseek past the end succeeds, so a later read tells.
    bool skip(long count)
    {
        at_ += count;
        return std::fseek(file_, count, SEEK_CUR) == 0;
    }
    bool tooFar() const { return at_ > kGifWalkBytes; }

private:
    std::FILE *file_;
    long at_ = 13;  // the header and the logical screen, read before
};

// Skips a colour table of 3 x 2^(n+1) bytes when `flags` announces one.
bool skipColourTable(GifWalk &walk, int flags)
{
    return !(flags & 0x80) || walk.skip(3L << ((flags & 7) + 1));
}

// Skips data sub-blocks up to the empty one that ends them; false when the
// file ends first, or the walk has gone too far.
bool skipSubBlocks(GifWalk &walk)
{
    for (;;) {
        const int length = walk.next();
        if (length == EOF || walk.tooFar())
            return false;
        if (length == 0)
            return true;
        if (!walk.skip(length - 1) || walk.next() == EOF)
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
    GifWalk walk(file);
    if (!skipColourTable(walk, screen[10]))
        return Header::cutShort;
    for (;;) {
        const int block = walk.next();
        if (walk.tooFar())
            return Header::tooFar;
        if (block == EOF)
            return Header::cutShort;
        if (block == 0x3B)  // the trailer, before any picture
            return Header::noPicture;
        if (block == 0x2C) {  // image descriptor: left, top, width, height, flags
            unsigned char descriptor[9];
            if (!walk.read(descriptor, sizeof descriptor))
                return Header::cutShort;
            *width = little16(descriptor + 4);
            *height = little16(descriptor + 6);
            const bool whole = skipColourTable(walk, descriptor[8]) && walk.next() != EOF &&
                               skipSubBlocks(walk);  // LZW code size, then the data
            if (whole)
                return Header::sized;
            return walk.tooFar() ? Header::tooFar : Header::cutShort;
        }
        // SDL_image passes over any other byte between blocks, so the walk does too.
        if (block == 0x21 && (walk.next() == EOF || !skipSubBlocks(walk)))  // an extension
            return walk.tooFar() ? Header::tooFar : Header::cutShort;
    }
}

// Keeps what a decoding library prints on standard error while it reads a
// broken file (libpng does) off the user's terminal: the one line the loader
// writes carries SDL_image's own reason. In a sanitizer build the sanitizers'
// reports still go to the real standard error, so that a fault inside a
// decoder cannot vanish with the decoder's chatter.
class QuietStderr {
public:
    QuietStderr() : saved_(fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 3))
    {
        const int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (saved_ >= 0 && null >= 0) {
#ifdef VORLEX_SANITIZED
            __sanitizer_set_report_fd(reinterpret_cast<void *>(static_cast<std::intptr_t>(saved_)));
#endif
            dup2(null, STDERR_FILENO);
        }
        if (null >= 0)
            close(null);
    }
    ~QuietStderr()
    {
        if (saved_ >= 0) {
            dup2(saved_, STDERR_FILENO);
#ifdef VORLEX_SANITIZED
            __sanitizer_set_report_fd(reinterpret_cast<void *>(static_cast<std::intptr_t>(STDERR_FILENO)));
#endif
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

// What the header walk found wrong with the file, or "".
std::string headerProblem(std::FILE *file, long largest)
{
    long width = 0, height = 0;
    errno = 0;
    const Header header = declaredSize(file, &width, &height);
    if (std::ferror(file))
        return std::string("cannot read it: ") + std::strerror(errno ? errno : EIO);
    switch (header) {
    case Header::cutShort:
        return "the file is cut short";
    case Header::noPicture:
        return "the file holds no picture";
    case Header::tooFar:
        return "the GIF's first picture does not end within its first " +
               std::to_string(kGifWalkBytes >> 20) + " MiB, more than a picture within the budget of " +
               std::to_string(kBudgetPixels) + " pixels takes";
    case Header::sized:
        return sizeProblem(width, height, largest);
    case Header::unknown:
        break;
    }
    return "";
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
    if (timer_create(CLOCK_MONOTONIC, &event, &timer) != 0) {
        const int error = errno;
        sigaction(SIGVTALRM, &previous, nullptr);
        startFail("cannot arm the image decoding time limit", std::strerror(error));
    }

    SDL_Surface *volatile image = nullptr;
    // Quiet only once the limit is armed, so that a failure to arm it is heard.
    const QuietStderr quiet;
    if (sigsetjmp(deadline, 1) == 0) {
        itimerspec after = {};
        after.it_value.tv_sec = seconds;
        timer_settime(timer, 0, &after, nullptr);
        image = decode(context);
    } else {
        *timedOut = true;
    }
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
