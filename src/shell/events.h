// The shell's side of SDL's event queue: the menus' key equivalents, the
// system's termination requests, and the quit event they end the frame loop
// with.
#pragma once

// Gives every key press to the main menu's key equivalents before SDL queues
// it, Ctrl standing for Command and Alt for Option; a press that triggers an
// item is consumed. SDL keeps the filter across SDL_Init.
void installKeyEquivalents();

// Makes SIGINT, SIGTERM and SIGHUP, where their disposition is the default,
// requests to quit, like the Quit item; a second one that arrives before the
// frame loop took the first ends the process the default way. Called before
// SDL_Init, which then leaves them be instead of installing its own.
void catchTerminationSignals();

// Stops SDL from queueing the event types the frame loop never acts on.
// Its queue holds 128 events and drops new ones when full, and the loop takes
// one a frame: a moving mouse would fill it and crowd out an Escape press or
// a quit request. SDL_Init resets this, so it must follow it.
void queueOnlyQuitTestEvents();

// Pushes one SDL_QUIT event. A request the full queue refuses is kept for
// takeUnqueuedQuit().
void postQuitEvent();

// Iconifies the display's window.
void iconifyWindow();

// Asked by the frame loop's quit test before each poll: turns a termination
// signal that arrived since into the Quit item's message, and answers true,
// once, when a quit request is waiting that the event queue could not take.
bool takeUnqueuedQuit();
