#include "shell/events.h"

#include <SDL.h>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <unistd.h>

#include "app/display_request.h"
#include "app/quit.h"
#include "shell/SDLMain.h"

namespace {

// The first termination signal that asked to quit, for endAsSignalled().
volatile sig_atomic_t quitSignal;

// A screensaver daemon ends its programs with SIGTERM, and logs any that does
// not die of it as ending abnormally, whatever its status.
bool endsBySignal(int number)
{
    return number == SIGTERM && runsAsScreensaver();
}

void onTerminationSignal(int number)
{
    // Until the display is open, start-up may be waiting on an X server that
    // never answers, and nothing would take the request: the process ends at
    // once (the server takes away any window it has begun). Later, a repeated request while the
    // first has waited seconds for the frame loop means the program is
    // stuck: the signal then does what it does by default, once this
    // handler returns. One that follows close behind (systemd's TERM then
    // HUP) joins the first. clock_gettime, _exit, signal and raise are
    // async-signal-safe.
    const int saved = errno;
    if (quitSignal == 0)
        quitSignal = number;
    timespec now = {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    switch (signalQuit(now.tv_sec * 1000L + now.tv_nsec / 1000000L)) {
    case QuitNow::cleanly:
        if (!endsBySignal(number))
            _exit(0);
        signal(number, SIG_DFL);
        raise(number);
        break;
    case QuitNow::byDefault:
        signal(number, SIG_DFL);
        raise(number);
        break;
    case QuitNow::no:
        break;
    }
    errno = saved;
}

// Caps Lock, Num Lock and AltGr are no menu modifiers.
unsigned modifierMask(SDLMod mod)
{
    unsigned mask = 0;
    if (mod & KMOD_CTRL)
        mask |= commandKeyMask;
    if (mod & KMOD_ALT)
        mask |= alternateKeyMask;
    if (mod & KMOD_SHIFT)
        mask |= shiftKeyMask;
    return mask;
}

// SDL 1.2's filter: 0 drops the event, 1 lets SDL queue it.
int keyEquivalentFilter(const SDL_Event *event)
{
    if (event->type != SDL_KEYDOWN)
        return 1;
    const SDL_keysym &key = event->key.keysym;
    // Key equivalents are characters; a press with the Super key held is the
    // desktop's, never a menu's.
    if (key.sym > 127 || (key.mod & KMOD_META))
        return 1;
    const bool performed = SDLApplication::sharedApplication()->performKeyEquivalent(
        static_cast<char>(key.sym), modifierMask(key.mod));
    return performed ? 0 : 1;
}

} // namespace

void installKeyEquivalents()
{
    SDL_SetEventFilter(keyEquivalentFilter);
}

void catchTerminationSignals()
{
    struct sigaction action = {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int number : {SIGINT, SIGTERM, SIGHUP}) {
        // One that was ignored when the program started (nohup, a background
        // job of a non-interactive shell) stays ignored.
        struct sigaction current = {};
        if (sigaction(number, nullptr, &current) == 0 && current.sa_handler == SIG_DFL)
            sigaction(number, &action, nullptr);
    }
}

void endAsSignalled()
{
    if (!endsBySignal(quitSignal))
        return;
    std::fflush(nullptr);
    signal(SIGTERM, SIG_DFL);
    raise(SIGTERM);
}

void iconifyWindow()
{
    SDL_WM_IconifyWindow();
}
