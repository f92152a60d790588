#include "tools/headless.h"

#include <GL/gl.h>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "draw/frame.h"
#include "draw/picture.h"
#include "app/rate.h"

namespace {

RateShown shown = RateShown::none;
int drawn = 0;

// The modelled clock: start-up and drawing take no time, and each wait ends
// 50 us after the millisecond it asked for, the kernel's default timer slack
// for a sleep. (Waits that ended on the millisecond would make exactly 62.5
// frames a second, shown as 63; any real sleep ends later, and the demo
// shows 62.)
constexpr std::uint64_t kTimerSlackMicros = 50;
std::uint64_t micros = 0;  // since SDL_Init
FrameClock frameClock;

std::uint32_t tick()
{
    return static_cast<std::uint32_t>(micros / 1000);
}

// The frame loop's bookkeeping after a frame's drawing, on the modelled clock.
void afterFrame()
{
    if (const std::uint32_t delay = frameClock.drawn(tick()))
        micros += delay * std::uint64_t{1000} + kTimerSlackMicros;
    frameClock.waited(tick());
}

} // namespace

void showRate(RateShown rate)
{
    shown = rate;
}

void drawUpTo(int n)
{
    for (; drawn < n; ++drawn) {
        drawFrame(frameClock.rate());
        if (shown == RateShown::modelled)
            afterFrame();
    }
}

int framesDrawn()
{
    return drawn;
}

bool writePpm(const std::string &path, std::string *why)
{
    std::vector<unsigned char> rgb(kPictureWidth * kPictureHeight * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, kPictureWidth, kPictureHeight, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    std::FILE *out = std::fopen(path.c_str(), "wb");
    if (!out) {
        *why = std::strerror(errno);
        return false;
    }
    std::fprintf(out, "P6\n%d %d\n255\n", kPictureWidth, kPictureHeight);
    // GL's rows run bottom to top, the file's top to bottom.
    for (int row = kPictureHeight - 1; row >= 0; --row)
        std::fwrite(&rgb[static_cast<std::size_t>(row) * kPictureWidth * 3], 1, kPictureWidth * 3, out);
    const bool written = !std::ferror(out);
    if (std::fclose(out) != 0 || !written) {
        *why = std::strerror(errno);
        return false;
    }
    return true;
}

int frameArgument(const char *program, const char *what, const char *text)
{
    char *end = nullptr;
    errno = 0;
    const long n = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || n < 1 || n > 1000000 || errno != 0) {
        std::fprintf(stderr, "%s: %s \"%s\" is not a whole number from 1 to 1000000\n", program, what, text);
        std::exit(2);
    }
    return static_cast<int>(n);
}
