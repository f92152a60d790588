#include "shell/events.h"

#include <SDL.h>
#include <atomic>
#include <csignal>

#include "shell/SDLMain.h"

namespace {

// Set by the signal handler, on whatever thread it runs; taken on the main
// thread by the next quit test.
std::atomic<int> terminationSignal{0};
static_assert(std::atomic<int>::is_always_lock_free, "a signal handler may only touch a lock-free flag");

// A quit request the full queue refused. Main thread only: the key
// equivalents' filter runs while the frame loop polls.
bool quitUnqueued = false;

void onTerminationSignal(int number)
{
    // A second request before the frame loop took the first means the
    // program is stuck, or still starting: the signal then does what it does
    // by default, once this handler returns. signal and raise are
    // async-signal-safe.
    if (terminationSignal.exchange(1)) {
        signal(number, SIG_DFL);
        raise(number);
    }
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

void queueOnlyQuitTestEvents()
{
    // All that SDL itself queues but key presses and quit requests.
    static const Uint8 unused[] = {
        SDL_ACTIVEEVENT,     SDL_KEYUP,         SDL_MOUSEMOTION,   SDL_MOUSEBUTTONDOWN,
        SDL_MOUSEBUTTONUP,   SDL_JOYAXISMOTION, SDL_JOYBALLMOTION, SDL_JOYHATMOTION,
        SDL_JOYBUTTONDOWN,   SDL_JOYBUTTONUP,   SDL_SYSWMEVENT,    SDL_VIDEORESIZE,
        SDL_VIDEOEXPOSE,
    };
    for (const Uint8 type : unused)
        SDL_EventState(type, SDL_IGNORE);
}

void postQuitEvent()
{
    SDL_Event quit = {};
    quit.type = SDL_QUIT;
    if (SDL_PushEvent(&quit) != 0)
        quitUnqueued = true;
}

void iconifyWindow()
{
    SDL_WM_IconifyWindow();
}

bool takeUnqueuedQuit()
{
    if (terminationSignal.exchange(0))
        SDLApplication::sharedApplication()->terminate();
    const bool waiting = quitUnqueued;
    quitUnqueued = false;
    return waiting;
}
