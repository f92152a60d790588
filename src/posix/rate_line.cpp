// The frame-rate line on a POSIX system, for the desktop and the web page:
// implements writeRate() of platform.h.
#include "app/platform.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

bool writeRate(int fd, std::uint32_t rate)
{
    char line[16];
    const int length = std::snprintf(line, sizeof line, "%u\n", static_cast<unsigned>(rate));
    // O_NONBLOCK belongs to the open file, which the shell or the reader may
    // share: it is set for this one write and put back at once. Writes to a
    // regular file do not block, and a line this short goes into a pipe whole
    // or not at all.
    const int flags = fcntl(fd, F_GETFL);
    if (flags < 0)
        return false;
    const bool wasBlocking = !(flags & O_NONBLOCK);
    if (wasBlocking)
        fcntl(fd, F_SETFL, flags | O_NONBLOCK);
    ssize_t written;
    do
        written = write(fd, line, static_cast<std::size_t>(length));
    while (written < 0 && errno == EINTR);
    if (wasBlocking)
        fcntl(fd, F_SETFL, flags);
    return written == length;
}
