// A program that only opens the display: SDL's video, the 640x480 full-screen
// OpenGL mode the demo asks for, and one empty frame. Context for the
// benchmark's start-up and memory figures. Prints the microseconds from
// SDL_Init to the end of the empty frame's swap and to the display's being
// open, then its peak resident memory in KiB.
#include <SDL.h>
#include <SDL_opengl.h>
#include <chrono>
#include <cstdio>

#include "baseline.h"
#include "peak.h"

int main()
{
    const auto start = std::chrono::steady_clock::now();
    openBareDisplay("vorlex_display");
    const auto ready = std::chrono::steady_clock::now();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    SDL_GL_SwapBuffers();
    // The swap may only queue the work; the frame is drawn once it is done.
    glFinish();
    const std::chrono::duration<double, std::micro> took = std::chrono::steady_clock::now() - start,
                                                    opened = ready - start;
    std::printf("%.0f %.0f %ld\n", took.count(), opened.count(), peakResidentKiB("self"));
    SDL_Quit();
    return 0;
}
