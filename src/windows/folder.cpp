#include "windows/folder.h"

#include <windows.h>

#include "app/fail.h"
#include "windows/error.h"

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
