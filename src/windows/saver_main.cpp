// The Windows screensaver's entry (vorlex.scr): SDL.dll found, or a line
// saying it is not; the command line Windows starts a saver with; then, for
// the picture, the program's own folder as the working directory and the
// frame loop, on the display the saver asks for (windows/saver.h), with no
// frame-rate lines. A GUI program: it has no console, and its failures show
// in a message box when standard error reaches no one.
#include <SDL.h>
#include <windows.h>
#include <string>

#include "app/display_request.h"
#include "app/fail.h"
#include "app/loop.h"
#include "windows/console.h"
#include "windows/folder.h"
#include "windows/saver_line.h"
#include "windows/saver.h"
#include "windows/sdl_library.h"

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

// Whether another full-screen saver of this session runs: Windows may start
// a second one, and a key would end only one. The first one's mutex lives
// as long as its process.
bool saverAlreadyShown()
{
    CreateMutexW(nullptr, FALSE, L"Local\\invalid.vorlex.vorlex.screensaver");
    return GetLastError() == ERROR_ALREADY_EXISTS;
}

} // namespace

int main(int argc, char *argv[])
{
    watchConsole();
    loadSdl();
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
        if (saverAlreadyShown())
            return 0;
        requestSaver({SaverMode::fullScreen, nullptr});
        break;
    case SaverLine::Action::preview:
        requestSaver({SaverMode::preview, reinterpret_cast<HWND>(line.window)});
        break;
    }
    // A screensaver's request, as on X: no frame-rate lines, the overlay
    // shows the rate. The display takes the window from the saver's request.
    requestDisplay({line.action == SaverLine::Action::show ? DisplayMode::root : DisplayMode::windowId, 0});
    enterProgramFolder();
    return SDL_main(argc, argv);
}
