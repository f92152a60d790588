#include "app/quit.h"

#include <SDL.h>
#include <atomic>

namespace {

// When the waiting termination request came, in ms on the monotonic clock,
// plus one, so that 0 means none; set by a signal handler, on whatever thread
// it runs, and taken on the main thread by the next quit test.
std::atomic<long> signalledAt{0};
static_assert(std::atomic<long>::is_always_lock_free, "a signal handler may only touch a lock-free value");

// Set once the display is open; read by signal handlers.
std::atomic<bool> taking{false};
static_assert(std::atomic<bool>::is_always_lock_free, "a signal handler may only touch a lock-free value");

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

QuitNow signalQuit(long nowMs)
{
    if (!taking.load())
        return QuitNow::cleanly;
    long first = 0;
    if (signalledAt.compare_exchange_strong(first, nowMs + 1))
        return QuitNow::no;
    return nowMs + 1 - first >= kStuckQuitMs ? QuitNow::byDefault : QuitNow::no;
}

void takeQuitRequestsFromNowOn()
{
    taking.store(true);
}

bool takeUnqueuedQuit()
{
    if (signalledAt.exchange(0))
        postQuitEvent();
    const bool waiting = unqueued;
    unqueued = false;
    return waiting;
}
