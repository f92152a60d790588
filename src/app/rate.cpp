#include "app/rate.h"

std::uint32_t wit;
std::uint32_t lev;
std::uint32_t now;
std::uint32_t cntA;
std::uint32_t cntB;
std::uint32_t vew;

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

bool countFrame(std::uint32_t tick)
{
    const std::uint32_t span = tick - cntB;
    if (span > 4999) {
        vew = measureRate(cntA, span);
        cntA = 1;
        cntB = tick;
        return true;
    }
    ++cntA;
    return false;
}
