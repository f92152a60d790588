// The Windows program's entry: SDL.dll found, or a line saying it is not;
// the options as on Linux, the console's requests as quit requests, the
// program's own folder as the working directory; then the frame loop.
#include <SDL.h>

#include "app/loop.h"
#include "shell/options.h"
#include "windows/console.h"
#include "windows/folder.h"
#include "windows/sdl_library.h"

// SDL 1.2 renames main to SDL_main, for its SDLmain library's entry; this is
// the entry instead, and the frame loop keeps the name SDL_main.
#undef main

int main(int argc, char *argv[])
{
    watchConsole();
    loadSdl();
    const CommandLine commandLine = parseCommandLine(argc, argv, OptionSet::windows);
    // A shortcut's mistake is shown as a start-up failure would be.
    if (commandLine.action == CommandLine::Action::misuse)
        rejectCommandLine(commandLine.problem);
    answerUnlessRun(commandLine, OptionSet::windows);
    requestDisplay(commandLine.display);
    takeConsoleQuitRequests();
    enterProgramFolder();
    return SDL_main(argc, argv);
}
