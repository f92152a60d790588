// Renders the demo's first FRAMES frames with no timing involved and writes
// frames 1, 1 + STEP, 1 + 2 STEP, ... as binary PPM files OUTDIR/frame-NNNNN.ppm,
// for the animated preview (scripts/preview.sh):
//
//   vorlex_preview OUTDIR FRAMES STEP
//
// The frame loop's bookkeeping runs on the harness's modelled clock, so the
// overlay shows the rate the demo reaches from its first window on. Each
// frame is swapped, as on the screen. Run from the folder that holds
// Vorlex.app, on a display.
#include <SDL.h>

#include <cstdio>
#include <string>

#include "app/startup.h"
#include "tools/headless.h"

int main(int argc, char *argv[])
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s OUTDIR FRAMES STEP\n", argv[0]);
        return 2;
    }
    const int frames = frameArgument("vorlex_preview", "FRAMES", argv[2]);
    const int step = frameArgument("vorlex_preview", "STEP", argv[3]);

    startUp();
    showRate(RateShown::modelled);
    for (int n = 1; n <= frames; ++n) {
        drawUpTo(n);
        if ((n - 1) % step == 0) {
            char path[4096];
            std::snprintf(path, sizeof path, "%s/frame-%05d.ppm", argv[1], n);
            std::string why;
            if (!writePpm(path, &why)) {
                std::fprintf(stderr, "vorlex_preview: cannot write %s: %s\n", path, why.c_str());
                SDL_Quit();
                return 1;
            }
        }
        SDL_GL_SwapBuffers();
    }
    SDL_Quit();
    return 0;
}
