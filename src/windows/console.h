// The console around the Windows program: who sees its standard error, and
// its Ctrl+C, Ctrl+Break and close as quit requests.
#pragma once

#include <string>

// Decides, once at start, whether standard error reaches anyone: a file or
// pipe whoever started the program set up, or a console that stays open
// after the program ends. Where it reaches no one (a double-click gives a
// console program a console of its own, which closes with it), start-up
// failures are shown in a message box as well; such a console is let go at
// once, so no empty window sits behind the demo.
void watchConsole();

// A mistake on the command line, after watchConsole(): its line on standard
// error, and in a message box where start-up failures are shown in one;
// then status 2.
[[noreturn]] void rejectCommandLine(const std::string &line);

// A start-up failure before SDL can be called, which startFail() does: its
// line shown as rejectCommandLine() shows one; then status 1.
[[noreturn]] void failWithoutSdl(const std::string &line);

// Ctrl+C, Ctrl+Break, closing the console, logging off and shutting down ask
// the frame loop to end, as the quit keys do; before the display is open
// they end the program at once. A second request while the first has waited
// seconds for the loop ends it as Windows would.
void takeConsoleQuitRequests();
