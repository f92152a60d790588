// The frame loop's counters: pacing and the frame-rate window.
#pragma once

#include <cstdint>

// Tick values are SDL's millisecond counter; all arithmetic on them is
// unsigned and modulo 2^32, so differences stay right across a wrap.
extern std::uint32_t wit;   // ms from the end of the last wait to the end of this frame's drawing
extern std::uint32_t lev;   // tick read right after the wait
extern std::uint32_t now;   // tick read right after the drawing
extern std::uint32_t cntA;  // frames counted in the current window
extern std::uint32_t cntB;  // tick at which the current window began
extern std::uint32_t vew;   // frames per second of the last closed window, 0 until the first

// How long to wait after a frame whose drawing took `elapsed` ms: the rest of 16 ms,
// or nothing once 16 ms have passed.
std::uint32_t paceDelay(std::uint32_t elapsed);

// Frames per second of a window of `frames` frames over `span` ms, rounded to
// the nearest whole number. span is at least 5000 when the loop asks.
std::uint32_t measureRate(std::uint32_t frames, std::uint32_t span);

// Counts the frame whose first tick reading was `tick`. Once the window has
// lasted 5000 ms it closes: vew gets the window's rate, and the closing frame
// becomes the first frame of the next window. Returns true on a close.
bool countFrame(std::uint32_t tick);

// Writes the frame-rate line "<rate>\n" to descriptor fd without waiting: a
// reader that stopped reading, a terminal paused with Ctrl+S or a pipe whose
// reader left must never hold up the frames. False when the line could not
// go out now; it is dropped, not kept for later.
bool writeRate(int fd, std::uint32_t rate);
