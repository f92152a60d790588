// The program's own folder as its working directory, for both Windows
// programs: the images lie beside the program, and a command line, or
// Windows starting a screensaver, may start it anywhere.
#pragma once

#include <string>

// The folder that holds the running .exe or .scr, without a final
// backslash; empty when Windows cannot say, with GetLastError() set.
std::wstring programFolder();

// Enters programFolder(); a failure ends start-up through startFail().
void enterProgramFolder();
