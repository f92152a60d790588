#include "app/quit.h"

#include <SDL.h>
#include <atomic>

namespace {

// Set by a signal handler, on whatever thread it runs; taken on the main
// thread by the next quit test.
std::atomic<int> signalled{0};
static_assert(std::atomic<int>::is_always_lock_free, "a signal handler may only touch a lock-free flag");

// A quit request the full queue refused. Main thread only: the key
// equivalents' filter runs while the frame loop polls.
bool unqueued = false;

} // namespace

void postQuitEvent()
{
    SDL_Event quit = {};
    quit.type = SDL_QUIT;
    if (SDL_PushEvent(&quit) != 0)
        unqueued = true;
}

bool signalQuit()
{
    return signalled.exchange(1) != 0;
}

bool takeUnqueuedQuit()
{
    if (signalled.exchange(0))
        postQuitEvent();
    const bool waiting = unqueued;
    unqueued = false;
    return waiting;
}
