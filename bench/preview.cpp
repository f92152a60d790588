// Renders the demo's first FRAMES frames with no timing involved and writes
// frames 1, 1 + STEP, 1 + 2 STEP, ... as binary PPM files OUTDIR/frame-NNNNN.ppm,
// for the animated preview (scripts/preview.sh):
//
//   vorlex_preview OUTDIR FRAMES STEP
//
// The frame loop's bookkeeping runs on a modelled clock, so the overlay
// shows the rate the demo reaches from its first window on: start-up and
// drawing take no time, and each wait ends 50 us after the millisecond it
// asked for, the kernel's default timer slack for a sleep. (Waits that ended
// on the millisecond would make exactly 62.5 frames a second, shown as 63;
// any real sleep ends later, and the demo shows 62.) Run from the folder that
// holds Vorlex.app, on a display.
#include <SDL.h>
#include <SDL_opengl.h>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/platform.h"
#include "app/startup.h"
#include "app/frame.h"
#include "app/rate.h"

namespace {

constexpr int kWidth = 640, kHeight = 480;
constexpr std::uint64_t kTimerSlackMicros = 50;

bool writeFrame(const char *path)
{
    std::vector<unsigned char> rgb(kWidth * kHeight * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, kWidth, kHeight, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    std::FILE *out = std::fopen(path, "wb");
    if (!out)
        return false;
    std::fprintf(out, "P6\n%d %d\n255\n", kWidth, kHeight);
    // GL's rows run bottom to top, the file's top to bottom.
    for (int row = kHeight - 1; row >= 0; --row)
        std::fwrite(&rgb[static_cast<std::size_t>(row) * kWidth * 3], 1, kWidth * 3, out);
    return std::fclose(out) == 0;
}

long count(const char *text, const char *what)
{
    char *end = nullptr;
    const long n = std::strtol(text, &end, 10);
    if (*end != '\0' || n < 1) {
        std::fprintf(stderr, "vorlex_preview: %s \"%s\" is not a whole number of 1 or more\n", what, text);
        std::exit(2);
    }
    return n;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s OUTDIR FRAMES STEP\n", argv[0]);
        return 2;
    }
    const long frames = count(argv[2], "FRAMES");
    const long step = count(argv[3], "STEP");

    inits();
    std::uint64_t micros = 0;  // since SDL_Init
    const auto tick = [&micros] { return static_cast<std::uint32_t>(micros / 1000); };
    for (long n = 1; n <= frames; ++n) {
        back();
        modelDrow(vew);
        if ((n - 1) % step == 0) {
            char path[4096];
            std::snprintf(path, sizeof path, "%s/frame-%05ld.ppm", argv[1], n);
            if (!writeFrame(path)) {
                std::fprintf(stderr, "vorlex_preview: cannot write %s\n", path);
                SDL_Quit();
                return 1;
            }
        }
        now = tick();
        wit = now - lev;
        if (const std::uint32_t delay = paceDelay(wit))
            micros += delay * std::uint64_t{1000} + kTimerSlackMicros;
        lev = tick();
        countFrame(now);
        SDL_GL_SwapBuffers();
    }
    SDL_Quit();
    return 0;
}
