// The shell's side of SDL's event queue: the menus' key equivalents and the
// system's termination requests, which reach the frame loop through the app's
// quit channel.
#pragma once

// Gives every key press to the main menu's key equivalents before SDL queues
// it, Ctrl standing for Command and Alt for Option; a press that triggers an
// item is consumed. SDL keeps the filter across SDL_Init.
void installKeyEquivalents();

// Makes SIGINT, SIGTERM and SIGHUP, where their disposition is the default,
// requests to quit, like the Quit item; a repeated one that arrives when the
// first has waited kStuckQuitMs for the frame loop ends the process the
// default way. Before the display is open, one ends the process at once,
// with status 0 (a screensaver's SIGTERM: by that signal, see
// endAsSignalled()). Called before SDL_Init, which then leaves them be
// instead of installing its own.
void catchTerminationSignals();

// After the clean shut-down: a screensaver's run (--root, --window-id) that
// SIGTERM ended ends by that signal, as its daemon expects of the programs it
// stops; else it returns.
void endAsSignalled();

// Iconifies the display's window.
void iconifyWindow();
