// Image headers read without decoding, the size rules a texture must meet,
// the guarded decode and the held standard error it shares with the display.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <string>
#include <unistd.h>

#include "desktop/held_stderr.h"
#include "desktop/image.h"

namespace {

// The size declaredSize reads from these bytes, or "unknown".
std::string sizeOf(const std::string &bytes)
{
    std::FILE *file = fmemopen(const_cast<char *>(bytes.data()), bytes.size(), "rb");
    long w = -1, h = -1;
    const Header header = declaredSize(file, &w, &h);
    std::fclose(file);
    if (header == Header::cutShort)
        return "cut short";
    if (header == Header::noPicture)
        return "no picture";
    if (header == Header::tooFar)
        return "too far";
    return header == Header::sized ? std::to_string(w) + "x" + std::to_string(h) : "unknown";
}

std::string le16(unsigned v) { return {char(v & 255), char(v >> 8 & 255)}; }
std::string le32(unsigned v) { return le16(v & 0xFFFF) + le16(v >> 16); }
std::string be32(unsigned v) { return {char(v >> 24 & 255), char(v >> 16 & 255), char(v >> 8 & 255), char(v & 255)}; }

std::string png(unsigned w, unsigned h)
{
    return std::string("\x89PNG\r\n\x1a\n", 8) + be32(13) + "IHDR" + be32(w) + be32(h) + std::string("\x08\x06\0\0\0", 5);
}

std::string bmp(int w, int h)
{
    return "BM" + le32(0) + le32(0) + le32(54) + le32(40) + le32(static_cast<unsigned>(w)) +
           le32(static_cast<unsigned>(h)) + le16(1) + le16(24) + std::string(24, '\0');
}

// A GIF with a 4-entry global colour table, a comment extension, then the
// first image descriptor of w x h, its LZW code size, two data sub-blocks and
// the trailer.
std::string gif(unsigned w, unsigned h)
{
    return "GIF89a" + le16(1) + le16(1) + std::string("\x81\0\0", 3) + std::string(12, '\x7f') +
           "\x21\xfe" "\x05" "hello" "\x03" "abc" + std::string(1, '\0') + "\x2c" + le16(0) + le16(0) +
           le16(w) + le16(h) + std::string(1, '\0') + "\x02" "\x02" "\x44\x01" "\x01" "\x05" +
           std::string(1, '\0') + ";";
}

// Standard error sent to a file for as long as it lives: what reached it.
class CaughtStderr {
public:
    CaughtStderr() : file_(std::tmpfile()), saved_(dup(STDERR_FILENO)) { dup2(fileno(file_), STDERR_FILENO); }
    ~CaughtStderr()
    {
        dup2(saved_, STDERR_FILENO);
        close(saved_);
        std::fclose(file_);
    }
    std::string text() const
    {
        std::string all(4096, '\0');
        all.resize(static_cast<std::size_t>(pread(fileno(file_), &all[0], all.size(), 0)));
        return all;
    }

private:
    std::FILE *file_;
    int saved_;
};

void say(const char *text)
{
    ASSERT_GT(write(STDERR_FILENO, text, std::char_traits<char>::length(text)), 0);
}

} // namespace

TEST(DeclaredSize, ReadsPngBmpAndGifHeaders)
{
    EXPECT_EQ(sizeOf(png(64, 48)), "64x48");
    EXPECT_EQ(sizeOf(png(0x7FFFFFFF, 1)), "2147483647x1");
    EXPECT_EQ(sizeOf(bmp(72, 72)), "72x72");
    EXPECT_EQ(sizeOf(bmp(100, -30)), "100x30") << "a top-down BMP has a negative height";
    EXPECT_EQ(sizeOf(bmp(-5, 7)), "-5x7");
    const std::string os2 = "BM" + le32(0) + le32(0) + le32(26) + le32(12) + le16(40) + le16(20) + le32(0);
    EXPECT_EQ(sizeOf(os2), "40x20");
}

TEST(DeclaredSize, TakesAGifsFirstPictureNotItsScreen)
{
    EXPECT_EQ(sizeOf(gif(48, 48)), "48x48");
    EXPECT_EQ(sizeOf(gif(0, 0)), "0x0");
    EXPECT_EQ(sizeOf(gif(65535, 65535)), "65535x65535");
    // No global colour table and no extension, but a local colour table.
    const std::string bare = "GIF87a" + le16(9) + le16(9) + std::string(3, '\0') + "\x2c" + le16(0) +
                             le16(0) + le16(3) + le16(2) + "\x80" + std::string(6, '\x10') + "\x02" +
                             "\x01" "\x44" + std::string(1, '\0');
    EXPECT_EQ(sizeOf(bare), "3x2");
    EXPECT_EQ(sizeOf(bare.substr(0, bare.size() - 1)), "cut short") << "no end to the data";
}

TEST(DeclaredSize, RefusesAFileCutShortAndGivesUpOnOtherFormats)
{
    EXPECT_EQ(sizeOf(""), "unknown");
    EXPECT_EQ(sizeOf("not an image at all, just some text"), "unknown");
    EXPECT_EQ(sizeOf(png(64, 64).substr(0, 20)), "cut short");
    // A 24-byte BMP whose size a decoder would read from past its end.
    EXPECT_EQ(sizeOf(std::string("BM60\0\0\0\0\x9c\0\x09\xf0\xff\xff\0\x40\0\0\0\x2c\0\0\0\xaf", 24)), "cut short");
    EXPECT_EQ(sizeOf(gif(64, 64).substr(0, 30)), "cut short") << "cut inside the comment";
    EXPECT_EQ(sizeOf(gif(64, 64).substr(0, 38)), "cut short") << "cut before the descriptor";
    EXPECT_EQ(sizeOf(gif(64, 64).substr(0, 44)), "cut short") << "cut inside the descriptor";
    EXPECT_EQ(sizeOf("GIF89a" + le16(1) + le16(1) + std::string(3, '\0')), "cut short") << "no blocks";
    const std::string whole = gif(64, 64);
    for (std::size_t cut = 13; cut < whole.size() - 1; ++cut)
        EXPECT_EQ(sizeOf(whole.substr(0, cut)), "cut short") << "cut after " << cut << " bytes";
    EXPECT_EQ(sizeOf(whole.substr(0, whole.size() - 1)), "64x64") << "the trailer is not needed";
    std::string junk = gif(70000 & 0xFFFF, 3);
    junk.insert(junk.find('\x2c'), std::string("\0\x07\0", 3));
    EXPECT_EQ(sizeOf(junk), "4464x3") << "stray bytes between blocks are passed over";
    std::string trailer = gif(1, 1);
    trailer[trailer.find('\x21')] = ';';
    EXPECT_EQ(sizeOf(trailer), "no picture") << "a GIF that ends before any picture";
}

TEST(SizeProblem, RefusesEmptyAndOversizedImagesAndThoseOverTheBudget)
{
    const std::string budget = ", over the budget of 4194304 pixels (2048x2048) and 8192 on a side that an image may have";
    const struct {
        long width, height;
        std::string problem;
    } cases[] = {
        {64, 64, ""},
        {2048, 2048, ""},
        {8192, 512, ""},
        {0, 0, "the image has no pixels (0x0)"},
        {-5, 7, "the image has no pixels (-5x7)"},
        {16385, 1, "the image is 16385x1, larger than the largest texture this OpenGL can hold (16384 on a side)"},
        {1, 16385, "the image is 1x16385, larger than the largest texture this OpenGL can hold (16384 on a side)"},
        // SDL 1.2 cannot make a surface this wide, though the GL could hold it.
        {16384, 1, "the image is 16384x1" + budget},
        {8193, 1, "the image is 8193x1" + budget},
        {2049, 2048, "the image is 2049x2048" + budget},
        {16383, 16383, "the image is 16383x16383" + budget},
    };
    for (const auto &c : cases)
        EXPECT_EQ(sizeProblem(c.width, c.height, 16384), c.problem) << c.width << "x" << c.height;
}

TEST(DeclaredSize, GivesUpOnAGifWhosePictureDoesNotEndWithinItsWalk)
{
    // A 2 GB hole after the header reads as stray zero bytes; so does this.
    const std::string head = "GIF89a" + le16(1) + le16(1) + std::string(3, '\0');
    std::string hole = head + std::string(kGifWalkBytes, '\0');
    EXPECT_EQ(sizeOf(hole), "too far");
    hole.resize(kGifWalkBytes - 64);
    EXPECT_EQ(sizeOf(hole + gif(8, 8).substr(13)), "8x8") << "a picture within the walk";
}

TEST(DecodeWithin, GivesUpOnADecoderThatNeverFinishes)
{
    bool timedOut = false;
    SDL_Surface *image = decodeWithin(
        1,
        [](void *) -> SDL_Surface * {
            for (volatile bool forever = true; forever;) {
            }
            return nullptr;
        },
        nullptr, &timedOut);
    EXPECT_TRUE(timedOut);
    EXPECT_EQ(image, nullptr);

    // A decoder that finishes is handed back its result, and the timer is gone.
    static SDL_Surface made;
    image = decodeWithin(1, [](void *) { return &made; }, nullptr, &timedOut);
    EXPECT_FALSE(timedOut);
    EXPECT_EQ(image, &made);
    struct sigaction now = {};
    sigaction(SIGVTALRM, nullptr, &now);
    EXPECT_EQ(now.sa_handler, SIG_DFL) << "the signal's disposition is restored";
}

TEST(HeldStderr, KeepsTheLibrariesWordsInOneLineWithoutTheirChatter)
{
    const CaughtStderr caught;
    HeldStderr held;
    held.hold();
    say("  No protocol specified \n\nXDG_RUNTIME_DIR is invalid or not set\n");
    say("Xlib:  extension \"RANDR\" missing on display \":7\".\nbad\tthing");
    EXPECT_EQ(held.said(), "No protocol specified; bad\tthing");
    EXPECT_EQ(held.release(), "No protocol specified; bad\tthing");
    say("after");
    EXPECT_EQ(caught.text(), "after") << "standard error is back, and nothing held reached it";
}

TEST(DecodeWithin, KeepsWhatTheDecoderPrintsOffStandardError)
{
    const CaughtStderr caught;
    bool timedOut = false;
    const auto chatty = [](void *) -> SDL_Surface * {
        say("libpng warning: iCCP: known incorrect sRGB profile\n");
        return nullptr;
    };
    decodeWithin(1, chatty, nullptr, &timedOut);
    say("after");
    EXPECT_EQ(caught.text(), "after");
}
