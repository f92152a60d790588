#include "app/loop.h"

#include <SDL.h>
#include <SDL_opengl.h>
#include <cstdio>
#include <unistd.h>
#ifdef VORLEX_GL_CHECK
#include <malloc.h>
#endif

#include "draw/frame.h"
#include "app/display_request.h"
#include "app/platform.h"
#include "app/quit.h"
#include "app/rate.h"
#include "app/startup.h"

namespace {

#ifdef VORLEX_GL_CHECK
// Debug builds look for a GL error once a frame and report the first one with
// the frame it happened on, and report the heap in use at each close of the
// frame-rate window, so that a long run shows whether anything leaks.
void checkFrame(bool windowClosed)
{
    static unsigned long frame;
    static bool reported;
    ++frame;
    const GLenum error = glGetError();
    if (error != GL_NO_ERROR && !reported) {
        reported = true;
        std::fprintf(stderr, "Vorlex: OpenGL error 0x%04X on frame %lu\n", error, frame);
    }
    if (windowClosed) {
        const struct mallinfo2 heap = mallinfo2();
        std::fprintf(stderr, "Vorlex: heap in use %zu KiB on frame %lu\n",
                     (heap.uordblks + heap.hblkhd) / 1024, frame);
    }
}
#else
void checkFrame(bool) {}
#endif

} // namespace

extern "C" int SDL_main(int, char *[])
{
    startUp();
    FrameClock loopClock;
    while (keepRunning()) {
        drawFrame(loopClock.rate());
        // The wait comes before the swap, so successive swaps are at least
        // 16 ms apart; a frame that already took that long is not slowed.
        if (const std::uint32_t delay = loopClock.drawn(SDL_GetTicks()))
            SDL_Delay(delay);
        const bool windowClosed = loopClock.waited(SDL_GetTicks());
        // A line that cannot go out now is dropped: the frames go on. A
        // screensaver's would fill its daemon's log; its overlay shows the rate.
        if (windowClosed && !runsAsScreensaver())
            writeRate(STDOUT_FILENO, loopClock.rate());
        presentFrame();
        checkFrame(windowClosed);
    }
    SDL_Quit();
    return 0;
}

bool keepRunning()
{
    // A quit request that the shell could not queue, SDL's queue being full,
    // ends the loop all the same.
    if (takeUnqueuedQuit())
        return false;
    SDL_Event event;
    if (SDL_PollEvent(&event) == 0)
        return true;
    if (event.type == SDL_KEYDOWN)
        return event.key.keysym.sym != SDLK_ESCAPE;
    return event.type != SDL_QUIT;
}
