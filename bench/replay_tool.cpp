// What the program draws, with none of its logic: the program's start-up
// (inits(): display, render state, textures), then frames 1 to N replayed,
// unpaced, from the capture tool's recording as it streams in, one frame held
// at a time. Prints its peak resident memory in KiB: what the GL work of the
// program's frames takes. Run from the folder that holds Vorlex.app.
//
//   vorlex_replay N
#include <SDL.h>
#include <cstdio>
#include <cstdlib>
#include <exception>

#include "app/platform.h"
#include "app/startup.h"
#include "peak.h"
#include "process.h"
#include "replay.h"

int main(int argc, char *argv[])
{
    char *end = nullptr;
    const long frames = argc == 2 ? std::strtol(argv[1], &end, 10) : 0;
    if (argc != 2 || *end != '\0' || frames < 1) {
        std::fprintf(stderr, "usage: %s N   (N: frames to replay, 1 or more)\n", argv[0]);
        return 2;
    }
    inits();
    Recording frame;
    try {
        captureFrames(VORLEX_CAPTURE_TOOL, frames, frame, [](Recording &f) {
            replayFrame(f, 0);
            SDL_GL_SwapBuffers();
            f.clear();
        });
    } catch (const std::exception &e) {
        std::fprintf(stderr, "vorlex_replay: %s\n", e.what());
        SDL_Quit();
        return 1;
    }
    std::printf("%ld\n", peakResidentKiB("self"));
    SDL_Quit();
    return 0;
}
