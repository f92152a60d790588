#include "app/fail.h"

#include <SDL.h>
#include <cstdio>
#include <cstdlib>

[[noreturn]] void startFail(const char *action, const char *reason)
{
    // Compose the line first: SDL's reason lives in SDL's own storage.
    char line[1024];
    std::snprintf(line, sizeof line, "Vorlex: %s: %s\n", action,
                  reason && *reason ? reason : "no reason given");
    SDL_Quit();
    std::fputs(line, stderr);
    std::exit(1);
}
