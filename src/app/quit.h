// The quit channel: every request to end the program (a menu's Quit, a
// termination signal) reaches the frame loop's quit test through SDL's queue,
// or, when the queue is full, through a request kept here.
#pragma once

// Pushes one SDL_QUIT event. A request the full queue refuses is kept for
// takeUnqueuedQuit().
void postQuitEvent();

// How long a termination request may wait for the frame loop before a
// repeated one ends the process the default way: long enough that the usual
// stop sequences (TERM then HUP, TERM twice, INT then TERM) end cleanly,
// short enough for a stuck program.
constexpr long kStuckQuitMs = 3000;

// What a termination request does now.
enum class QuitNow {
    no,        // it waits for the frame loop's quit test
    cleanly,   // start-up: the process ends at once, status 0
    byDefault, // an earlier one waited kStuckQuitMs: the signal's default
};

// Notes a termination request from a signal handler, at `nowMs` on the
// monotonic clock: async-signal-safe, any thread. Until
// takeQuitRequestsFromNowOn(), start-up may be waiting on a display that
// never answers, and nothing would take the request: it ends the process.
QuitNow signalQuit(long nowMs);

// Called once the display is open: from now on the frame loop takes
// termination requests.
void takeQuitRequestsFromNowOn();

// Asked by the quit test before each poll: turns a termination request noted
// since into a quit event, and answers true, once, when a quit request is
// waiting that the event queue could not take.
bool takeUnqueuedQuit();
