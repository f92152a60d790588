#include "app/rate.h"

std::uint32_t paceDelay(std::uint32_t elapsed)
{
    return elapsed <= 15 ? 16 - elapsed : 0;
}

std::uint32_t measureRate(std::uint32_t frames, std::uint32_t span)
{
    if (span == 0)
        return 0;
    // 64 bits hold frames x 1000 for any 32-bit count. A half rounds down:
    // frames paced to 16 ms, 62.5 a second at most, read 62, never 63.
    const std::uint64_t scaled = std::uint64_t{frames} * 1000u + (span - 1) / 2;
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
    return count(waitEnd);
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
