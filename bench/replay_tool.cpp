// The program's GL calls with none of its logic: the display opened bare,
// the render state and the ten textures made by the program's own start-up
// code, then frames 1 to N replayed, unpaced, from the capture tool's
// recording as it streams in, one frame held at a time. The benchmark's
// baseline for start-up and memory.
//
//   vorlex_replay N
//
// Prints the microseconds from SDL_Init to the end of the first frame and to
// the end of the uploads, then its peak resident memory in KiB, as
// vorlex_startup does. The first frame is read before the clock starts, so
// the capture is not timed. Run from the folder that holds Vorlex.app.
#include <SDL.h>
#include <SDL_opengl.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>

#include "app/startup.h"
#include "baseline.h"
#include "peak.h"
#include "process.h"
#include "recording/replay.h"

int main(int argc, char *argv[])
{
    char *end = nullptr;
    const long frames = argc == 2 ? std::strtol(argv[1], &end, 10) : 0;
    if (argc != 2 || *end != '\0' || frames < 1) {
        std::fprintf(stderr, "usage: %s N   (N: frames to replay, 1 or more)\n", argv[0]);
        return 2;
    }
    using Clock = std::chrono::steady_clock;
    std::chrono::duration<double, std::micro> first{}, ready{};
    Recording frame;
    try {
        captureFrames(VORLEX_CAPTURE_TOOL, frames, frame, [&](Recording &f) {
            if (first.count() == 0) {
                const auto start = Clock::now();
                openBareDisplay("vorlex_replay");
                renderState();  // the program's own start-up after the display
                loadTextures();
                ready = Clock::now() - start;
                replayFrame(f, 0);
                SDL_GL_SwapBuffers();
                // The swap may only queue the work; the frame is drawn once it is done.
                glFinish();
                first = Clock::now() - start;
            } else {
                replayFrame(f, 0);
                SDL_GL_SwapBuffers();
            }
            f.clear();
        });
    } catch (const std::exception &e) {
        std::fprintf(stderr, "vorlex_replay: %s\n", e.what());
        SDL_Quit();
        return 1;
    }
    std::printf("%.0f %.0f %ld\n", first.count(), ready.count(), peakResidentKiB("self"));
    SDL_Quit();
    return 0;
}
