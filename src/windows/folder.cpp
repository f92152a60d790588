#include "windows/folder.h"

#include <windows.h>

#include "app/fail.h"
#include "windows/error.h"

std::wstring programFolder()
{
    static wchar_t path[32768];
    const DWORD length = GetModuleFileNameW(nullptr, path, sizeof path / sizeof *path);
    if (length == 0 || length >= sizeof path / sizeof *path)
        return {};
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L'\\'));
}

void enterProgramFolder()
{
    const std::wstring folder = programFolder();
    if (folder.empty())
        startFail("cannot find the program's own folder", windowsError(GetLastError()).c_str());
    if (!SetCurrentDirectoryW(folder.c_str()))
        startFail("cannot make the program's folder the working directory", windowsError(GetLastError()).c_str());
}
