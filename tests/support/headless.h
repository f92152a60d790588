// Frames of the real scenes on the real GL, with no timing involved: after
// inits(), each frame is back() then modelDrow(), as the frame loop draws it,
// left in the back buffer to be read. The scenes keep their state for the
// whole process, so frames only go forward.
#pragma once

// Draws the frames after the last one drawn, up to frame n (counted from 1).
// The picture of frame n is then in the back buffer.
void drawUpTo(int n);

// The number of the last frame drawn; 0 before the first.
int framesDrawn();
