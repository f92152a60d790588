// The headless harness: frames of the real scenes on the real GL with no
// timing involved. After startUp(), each frame is drawFrame(), as the frame
// loop draws it, left in the back buffer to be read. The scenes
// keep their state for the whole process, so frames only go forward.
#pragma once

#include <string>

// The frame rate the overlay shows.
enum class RateShown {
    none,      // 0 throughout, "FPS: 0"
    modelled,  // the frame loop's bookkeeping on a modelled clock (see headless.cpp)
};
void showRate(RateShown rate);  // before the first frame

// Draws the frames after the last one drawn, up to frame n (counted from 1).
// The picture of frame n is then in the back buffer.
void drawUpTo(int n);

// The number of the last frame drawn; 0 before the first.
int framesDrawn();

// Writes the back buffer as a binary PPM file; false with the reason in
// *why when it cannot.
bool writePpm(const std::string &path, std::string *why);

// A frame number given on a command line: a whole number of 1 or more, or
// the process ends with status 2 and a line naming `program`, `what` and
// the text.
int frameArgument(const char *program, const char *what, const char *text);
