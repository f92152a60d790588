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

// Notes a termination request from a signal handler, at `nowMs` on the
// monotonic clock: async-signal-safe, any thread. True when an earlier one
// has waited kStuckQuitMs or more without being taken by the frame loop.
bool signalQuit(long nowMs);

// Asked by the quit test before each poll: turns a termination request noted
// since into a quit event, and answers true, once, when a quit request is
// waiting that the event queue could not take.
bool takeUnqueuedQuit();
