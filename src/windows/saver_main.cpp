// The Windows screensaver's entry (vorlex.scr): the command line Windows
// starts a saver with; then, for the picture, the program's own folder as
// the working directory and the frame loop, on the display the saver asks
// for (windows/saver.h). A GUI program: it has no console, and its failures
// show in a message box when standard error reaches no one.
#include <SDL.h>
#include <windows.h>
#include <string>

#include "app/fail.h"
#include "app/loop.h"
#include "windows/console.h"
#include "windows/folder.h"
#include "windows/saver_line.h"
#include "windows/saver.h"

// SDL 1.2 renames main to SDL_main; as in main.cpp, this is the entry.
#undef main

namespace {

// Over the settings dialog that asked, when it gave its handle.
void sayNothingToSet(std::uintptr_t owner)
{
    const HWND window = reinterpret_cast<HWND>(owner);
    if (window && !IsWindow(window))
        startFail(("cannot show the settings over window " + std::to_string(owner)).c_str(),
                  "no window has that handle");
    MessageBoxA(window, "There is nothing to set: Vorlex always shows the same picture.", "Vorlex",
                MB_OK | MB_ICONINFORMATION);
}

} // namespace

int main(int argc, char *argv[])
{
    watchConsole();
    const SaverLine line = parseSaverLine(argc, argv);
    switch (line.action) {
    case SaverLine::Action::misuse:
        rejectCommandLine(line.problem);
    case SaverLine::Action::password:
        return 0;
    case SaverLine::Action::settings:
        sayNothingToSet(line.window);
        return 0;
    case SaverLine::Action::show:
        requestSaver({SaverMode::fullScreen, nullptr});
        break;
    case SaverLine::Action::preview:
        requestSaver({SaverMode::preview, reinterpret_cast<HWND>(line.window)});
        break;
    }
    enterProgramFolder();
    return SDL_main(argc, argv);
}
