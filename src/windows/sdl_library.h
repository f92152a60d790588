// SDL.dll, which both programs import delay-loaded: Windows binds it at the
// first SDL call, not before the program runs, so that a program copied
// without it can say so. A DLL its loader cannot find ends a process before
// its first instruction, with no word a user could read.
#pragma once

// Loads SDL.dll from the program's own folder, before anything calls SDL;
// the delay-loaded calls then bind to it. When it cannot be loaded, one line
// on standard error, and in a message box where start-up failures are shown
// in one (after watchConsole()); then status 1.
void loadSdl();
