// Windows's own reason for a failed call, as a start-up failure line ends.
#pragma once

#include <windows.h>
#include <string>

// The system's text for error `code` (GetLastError()), without its closing
// full stop and line end; "Windows error N" when it has none.
std::string windowsError(DWORD code);
