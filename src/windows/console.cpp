#include "windows/console.h"

#include <windows.h>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/fail.h"
#include "app/quit.h"

namespace {

ULONGLONG startTick;
bool unread; // standard error reaches no one

void showFailure(const char *line)
{
    std::string text = line;
    while (!text.empty() && text.back() == '\n')
        text.pop_back();
    MessageBoxA(nullptr, text.c_str(), "Vorlex", MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
}

BOOL WINAPI onConsoleEvent(DWORD event)
{
    // Milliseconds since the start, wrapping every 12 days: the quit channel
    // keeps them in a long, which has 32 bits here. A wrap between two
    // requests only postpones the second one's effect.
    const long now = static_cast<long>((GetTickCount64() - startTick) % 0x40000000u);
    switch (signalQuit(now)) {
    case QuitNow::cleanly:
        // At once, as _exit does: ExitProcess would run the libraries' exit
        // code while the main thread may hold their locks. Windows puts the
        // display back for a process that ends.
        TerminateProcess(GetCurrentProcess(), 0);
        return TRUE;
    case QuitNow::byDefault:
        return FALSE;
    case QuitNow::no:
        break;
    }
    // Windows ends the process once a close, log-off or shutdown handler
    // returns: this one waits instead for the frame loop to end it, and
    // Windows ends it after a few seconds all the same.
    if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT)
        Sleep(INFINITE);
    return TRUE;
}

} // namespace

void watchConsole()
{
    const HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
    const bool handle = error != nullptr && error != INVALID_HANDLE_VALUE;
    DWORD mode = 0;
    const bool toConsole = handle && GetConsoleMode(error, &mode);
    const bool redirected = handle && !toConsole && GetFileType(error) != FILE_TYPE_UNKNOWN;
    // A console shared with no other process and shown on the screen is one
    // Windows made for this program alone. (Wine's console for a Unix
    // terminal is the terminal's, and its window never shows.)
    const HWND window = GetConsoleWindow();
    DWORD processes[2];
    const bool ownConsole = window != nullptr && IsWindowVisible(window) && GetConsoleProcessList(processes, 2) == 1;
    unread = !redirected && (!toConsole || ownConsole);
    if (unread)
        echoStartFailures(showFailure);
    if (ownConsole)
        FreeConsole();
}

namespace {

[[noreturn]] void failBeforeStart(const std::string &line, int status)
{
    std::fprintf(stderr, "%s\n", line.c_str());
    if (unread)
        showFailure(line.c_str());
    std::exit(status);
}

} // namespace

void rejectCommandLine(const std::string &line)
{
    failBeforeStart(line, 2);
}

void failWithoutSdl(const std::string &line)
{
    failBeforeStart(line, 1);
}

void takeConsoleQuitRequests()
{
    startTick = GetTickCount64();
    SetConsoleCtrlHandler(onConsoleEvent, TRUE);
}
