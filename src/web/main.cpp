// The web page's entry: the desktop's frame loop, or with ?frames=N the first
// N frames drawn back to back and left on the canvas, for stills and tests.
// The page marks the end of either (data-state="ended") when this returns.
#define SDL_MAIN_HANDLED  // this is the entry; SDL must not rename it
#include <SDL.h>
#include <cstdio>

#include "draw/frame.h"
#include "app/loop.h"
#include "app/platform.h"
#include "app/startup.h"
#include "page.h"

int main()
{
    const int frames = webFramesWanted();
    if (frames < 0) {
        std::fputs("Vorlex: cannot read the address: ?frames= wants a whole number from 1 to 999999999\n", stderr);
        return 1;
    }
    if (frames == 0)
        return SDL_main(0, nullptr);

    // As the loop draws them, without its pacing or frame-rate window.
    startUp();
    while (framesPresented() < frames && keepRunning()) {
        drawFrame(0);  // no window closes: the rate shown stays 0
        presentFrame();
    }
    SDL_Quit();
    return 0;
}
