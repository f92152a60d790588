// The frame-rate line on Windows: implements writeRate() of platform.h.
#include "app/platform.h"

#include <windows.h>
#include <cstdio>
#include <io.h>

bool writeRate(int fd, std::uint32_t rate)
{
    char line[16];
    // Ended as the C runtime ends every other line of the program's here.
    const int length = std::snprintf(line, sizeof line, "%u\r\n", static_cast<unsigned>(rate));
    const HANDLE out = reinterpret_cast<HANDLE>(_get_osfhandle(fd));
    if (out == INVALID_HANDLE_VALUE || out == nullptr)
        return false;
    // A pipe whose reader stopped reading would hold up the frames: for this
    // one write it takes the line whole at once or not at all, and is then
    // put back as it was, since the reader may share it. A console or a file
    // takes the line at once.
    DWORD state = 0;
    const bool waits = GetFileType(out) == FILE_TYPE_PIPE &&
                       GetNamedPipeHandleState(out, &state, nullptr, nullptr, nullptr, nullptr, 0) &&
                       !(state & PIPE_NOWAIT);
    DWORD mode = PIPE_READMODE_BYTE | PIPE_NOWAIT;
    if (waits)
        SetNamedPipeHandleState(out, &mode, nullptr, nullptr);
    DWORD written = 0;
    const BOOL wrote = WriteFile(out, line, static_cast<DWORD>(length), &written, nullptr);
    if (waits) {
        mode = PIPE_READMODE_BYTE | PIPE_WAIT;
        SetNamedPipeHandleState(out, &mode, nullptr, nullptr);
    }
    return wrote && written == static_cast<DWORD>(length);
}
