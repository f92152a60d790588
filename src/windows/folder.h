// The program's own folder as its working directory, for both Windows
// programs: the images lie beside the program, and a command line, or
// Windows starting a screensaver, may start it anywhere.
#pragma once

// Enters the folder that holds the running .exe or .scr; a failure ends
// start-up through startFail().
void enterProgramFolder();
