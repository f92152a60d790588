// The program's frames as a user pays for them, with none of its logic:
// frames 1 to N recorded before the display opens, then replayed over and
// over on the display the program opens, through the program's own display
// code (so in the same mode, with the same screen fit and heap), paced as
// its frame loop paces them (one event polled, the frame, the wait for the
// rest of 16 ms, the swap). The benchmark's baseline for the CPU a paced
// second costs.
//
//   vorlex_paced_replay N
//
// Writes one empty line once the recording is read, before SDL starts, and
// runs until SDL's quit event (SIGTERM or SIGINT, which SDL turns into one)
// or an Escape press. Run from the folder that holds Vorlex.app.
#include <SDL.h>
#include <cstdio>
#include <cstdlib>
#include <exception>

#include "app/platform.h"
#include "app/rate.h"
#include "app/startup.h"
#include "baseline.h"
#include "process.h"
#include "recording/replay.h"

int main(int argc, char *argv[])
{
    char *end = nullptr;
    const long frames = argc == 2 ? std::strtol(argv[1], &end, 10) : 0;
    if (argc != 2 || *end != '\0' || frames < 1) {
        std::fprintf(stderr, "usage: %s N   (N: frames to record and replay in turn, 1 or more)\n", argv[0]);
        return 2;
    }
    Recording recording;
    try {
        recording = captureFrames(VORLEX_CAPTURE_TOOL, frames);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "vorlex_paced_replay: %s\n", e.what());
        return 1;
    }
    std::printf("\n");
    std::fflush(stdout);

    openDisplay();  // on failure it ends the process with the program's own message
    renderState();  // the program's own start-up after the display
    loadTextures();
    FrameClock frameClock;
    frameClock.waitEnd = SDL_GetTicks();
    for (std::size_t frame = 0;; frame = (frame + 1) % recording.frameCount()) {
        SDL_Event event;
        if (SDL_PollEvent(&event) &&
            (event.type == SDL_QUIT || (event.type == SDL_KEYDOWN && event.key.keysym.sym == SDLK_ESCAPE)))
            break;
        replayFrame(recording, frame);
        if (const std::uint32_t delay = frameClock.drawn(SDL_GetTicks()))
            SDL_Delay(delay);
        frameClock.waited(SDL_GetTicks());
        SDL_GL_SwapBuffers();
    }
    SDL_Quit();
    return 0;
}
