#include "windows/sdl_library.h"

#include <windows.h>
#include <string>

#include "windows/console.h"
#include "windows/error.h"
#include "windows/folder.h"

void loadSdl()
{
    // From the program's folder alone: a saver starts in the system folder,
    // and an SDL.dll elsewhere on the search path is not the one it was
    // built with.
    const std::wstring folder = programFolder();
    if (!folder.empty() && LoadLibraryW((folder + L"\\SDL.dll").c_str()))
        return;
    const std::string reason = windowsError(GetLastError());
    char shown[MAX_PATH * 2] = "";
    WideCharToMultiByte(CP_ACP, 0, folder.c_str(), -1, shown, sizeof shown, nullptr, nullptr);
    failWithoutSdl("Vorlex: cannot load SDL.dll from the program's folder (" + std::string(shown) + "): " + reason);
}
