#include "app/quit.h"

#include <SDL.h>
#include <atomic>

namespace {

// When the waiting termination request came, in ms on the monotonic clock,
// plus one, so that 0 means none; set by a signal handler, on whatever thread
// it runs, and taken on the main thread by the next quit test.
std::atomic<long> signalledAt{0};
static_assert(std::atomic<long>::is_always_lock_free, "a signal handler may only touch a lock-free value");

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

bool signalQuit(long nowMs)
{
    long first = 0;
    if (signalledAt.compare_exchange_strong(first, nowMs + 1))
        return false;
    return nowMs + 1 - first >= kStuckQuitMs;
}

bool takeUnqueuedQuit()
{
    if (signalledAt.exchange(0))
        postQuitEvent();
    const bool waiting = unqueued;
    unqueued = false;
    return waiting;
}
