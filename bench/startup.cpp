// The program's start-up up to its first frame: startUp() (display, render
// state, the ten textures), then drawFrame() and the swap, as the
// frame loop draws its first frame, with no pacing. Prints the microseconds
// from SDL_Init to the end of that swap and to the return of startUp(), then
// its peak resident memory in KiB. Run from the folder that holds Vorlex.app.
#include <SDL.h>
#include <SDL_opengl.h>
#include <chrono>
#include <cstdio>

#include "app/platform.h"
#include "app/startup.h"
#include "draw/frame.h"
#include "peak.h"

int main()
{
    const auto start = std::chrono::steady_clock::now();
    // Ends the process with the program's own message on any failure.
    startUp();
    const auto ready = std::chrono::steady_clock::now();
    drawFrame(0);
    SDL_GL_SwapBuffers();
    // The swap may only queue the work; the frame is drawn once it is done.
    glFinish();
    const std::chrono::duration<double, std::micro> took = std::chrono::steady_clock::now() - start,
                                                    started = ready - start;
    std::printf("%.0f %.0f %ld\n", took.count(), started.count(), peakResidentKiB("self"));
    SDL_Quit();
    return 0;
}
