// The Windows program's entry: the options as on Linux, the console's
// requests as quit requests, the program's own folder as the working
// directory, since the images lie beside the program and a command line may
// start it anywhere; then the frame loop.
#include <SDL.h>
#include <windows.h>
#include <string>

#include "app/fail.h"
#include "app/loop.h"
#include "shell/options.h"
#include "shell/windows/console.h"

// SDL 1.2 renames main to SDL_main, for its SDLmain library's entry; this is
// the entry instead, and the frame loop keeps the name SDL_main.
#undef main

namespace {

std::string windowsError(DWORD code)
{
    char text[512] = "";
    if (!FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text,
                        sizeof text, nullptr))
        return "Windows error " + std::to_string(code);
    std::string reason = text;
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' || reason.back() == '.'))
        reason.pop_back();
    return reason;
}

void enterProgramFolder()
{
    static wchar_t path[32768];
    const DWORD length = GetModuleFileNameW(nullptr, path, sizeof path / sizeof *path);
    if (length == 0 || length >= sizeof path / sizeof *path)
        startFail("cannot find the program's own folder", windowsError(GetLastError()).c_str());
    for (DWORD i = length; i > 0; --i)
        if (path[i - 1] == L'\\') {
            path[i - 1] = L'\0';
            break;
        }
    if (!SetCurrentDirectoryW(path))
        startFail("cannot make the program's folder the working directory", windowsError(GetLastError()).c_str());
}

} // namespace

int main(int argc, char *argv[])
{
    watchConsole();
    const CommandLine commandLine = parseCommandLine(argc, argv, OptionSet::windows);
    answerUnlessRun(commandLine, OptionSet::windows);
    requestDisplay(commandLine.display);
    takeConsoleQuitRequests();
    enterProgramFolder();
    return SDL_main(argc, argv);
}
