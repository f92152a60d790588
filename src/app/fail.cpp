#include "app/fail.h"

#include <SDL.h>
#include <cstdio>
#include <cstdlib>

namespace {
FailureEcho failureEcho = nullptr;
} // namespace

void echoStartFailures(FailureEcho echo)
{
    failureEcho = echo;
}

[[noreturn]] void startFail(const char *action, const char *reason)
{
    // Compose the line first: SDL's reason lives in SDL's own storage.
    // Room for an action that names a path of PATH_MAX; a longer line is cut
    // but still ends as a line.
    char line[8192];
    const int length = std::snprintf(line, sizeof line, "Vorlex: %s: %s\n", action,
                                     reason && *reason ? reason : "no reason given");
    if (length >= static_cast<int>(sizeof line))
        line[sizeof line - 2] = '\n';
    SDL_Quit();
    std::fputs(line, stderr);
    if (failureEcho)
        failureEcho(line);
    std::exit(1);
}
