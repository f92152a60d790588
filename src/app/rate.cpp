#include "app/rate.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

std::uint32_t paceDelay(std::uint32_t elapsed)
{
    return elapsed <= 15 ? 16 - elapsed : 0;
}

std::uint32_t measureRate(std::uint32_t frames, std::uint32_t span)
{
    if (span == 0)
        return 0;
    // 64 bits hold frames x 1000 for any 32-bit count.
    const std::uint64_t scaled = std::uint64_t{frames} * 1000u + span / 2;
    return static_cast<std::uint32_t>(scaled / span);
}

std::uint32_t FrameClock::drawn(std::uint32_t tick)
{
    drawEnd = tick;
    busy = drawEnd - waitEnd;
    return paceDelay(busy);
}

bool FrameClock::waited(std::uint32_t tick)
{
    waitEnd = tick;
    return count(drawEnd);
}

bool FrameClock::count(std::uint32_t tick)
{
    const std::uint32_t span = tick - windowStart;
    if (span > 4999) {
        lastRate = measureRate(windowFrames, span);
        windowFrames = 1;
        windowStart = tick;
        return true;
    }
    ++windowFrames;
    return false;
}

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
