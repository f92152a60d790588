#include "app/header.h"

#include <cerrno>
#include <cstdint>
#include <cstring>

#include "app/budget.h"

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

} // namespace

Header declaredSize(std::FILE *file, long *width, long *height)
{
    unsigned char head[26];
    if (!readBytes(file, head, 13))
        return Header::unknown;
    if (head[0] == 'G' && head[1] == 'I' && head[2] == 'F')
        return gifSize(file, head, width, height);
    const bool png = head[0] == 0x89 && head[1] == 'P' && head[2] == 'N' && head[3] == 'G';
    const bool bmp = head[0] == 'B' && head[1] == 'M';
    // A PNG or BMP that ends inside the header declaring its size: a decoder
    // would take its size from whatever follows, a 24-byte file could ask
    // for half a gigabyte.
    if (!readBytes(file, head + 13, sizeof head - 13))
        return png || bmp ? Header::cutShort : Header::unknown;
    if (png) {
        *width = big32(head + 16);
        *height = big32(head + 20);
        return Header::sized;
    }
    if (bmp) {
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

