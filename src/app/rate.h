// The frame clock and the frame rate: pacing and the frame-rate window.
#pragma once

#include <cstdint>

// How long to wait after a frame whose drawing took `elapsed` ms: the rest of 16 ms,
// or nothing once 16 ms have passed.
std::uint32_t paceDelay(std::uint32_t elapsed);

// Frames per second of a window of `frames` frames over `span` ms, rounded to
// the nearest whole number, a half down. span is at least 5000 when the loop asks.
std::uint32_t measureRate(std::uint32_t frames, std::uint32_t span);

// One drawer's clock, read twice a frame: drawn() right after the drawing,
// then waited() right after the pause drawn() asked for. Whoever draws frames
// keeps one and hands rate() to the drawing.
//
// Tick values are SDL's millisecond counter; all arithmetic on them is
// unsigned and modulo 2^32, so differences stay right across a wrap.
struct FrameClock {
    std::uint32_t drawEnd = 0;       // tick read right after this frame's drawing
    std::uint32_t waitEnd = 0;       // tick read right after the last wait
    std::uint32_t busy = 0;          // ms from waitEnd to drawEnd
    std::uint32_t windowFrames = 0;  // frames counted in the current window
    std::uint32_t windowStart = 0;   // tick at which the current window began
    std::uint32_t lastRate = 0;      // frames per second of the last closed window, 0 until the first

    // The frame's drawing ended at `tick`: returns the ms to wait before the swap.
    std::uint32_t drawn(std::uint32_t tick);

    // The wait ended at `tick`: counts the frame by that tick. Successive wait
    // ends are at least 16 ms apart on any clock the wait is measured by (a
    // coarse or jittered one too), so a window of n frames spans at least
    // 16n ms and never reads above 62. Returns true when that closed the
    // window, lastRate then holding its rate.
    bool waited(std::uint32_t tick);

    // Counts the frame whose first tick reading was `tick`. Once the window has
    // lasted 5000 ms it closes: lastRate gets the window's rate, and the closing
    // frame becomes the first frame of the next window. Returns true on a close.
    bool count(std::uint32_t tick);

    std::uint32_t rate() const { return lastRate; }
};
