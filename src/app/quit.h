// The quit channel: every request to end the program (a menu's Quit, a
// termination signal) reaches the frame loop's quit test through SDL's queue,
// or, when the queue is full, through a request kept here.
#pragma once

// Pushes one SDL_QUIT event. A request the full queue refuses is kept for
// takeUnqueuedQuit().
void postQuitEvent();

// Notes a termination request from a signal handler: async-signal-safe, any
// thread. True when an earlier one is still waiting for the frame loop.
bool signalQuit();

// Asked by the quit test before each poll: turns a termination request noted
// since into a quit event, and answers true, once, when a quit request is
// waiting that the event queue could not take.
bool takeUnqueuedQuit();
