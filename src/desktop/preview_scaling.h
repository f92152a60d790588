// The picture scaled down into a small window, as a screensaver's settings
// dialog shows it: every one-pixel line must still be there. sdl12-compat
// scales the 640x480 picture to the window by sampling it once per window
// pixel. Nearest-neighbour sampling drops whole rows and columns; its linear
// filter reads two picture pixels a step, so it keeps every line while a
// step is at most two pixels (a window of 320x240 and up), and drops some
// beyond. There the picture is averaged over boxes at least one step wide, by
// the GL's own blits, into the window, in place of sdl12-compat's pass.
#pragma once

// Before SDL_Init, for a window of width x height: sdl12-compat's filter,
// which it reads once. Linear where the picture is scaled down; nearest where
// it is scaled up, which keeps the bitmap fonts sharp. A filter the user set
// (SDL12COMPAT_SCALE_METHOD) is left alone.
void choosePreviewScaling(int width, int height);

// How many averaging passes a direction takes for a picture step of `step`
// picture pixels a window pixel: 0 up to 2, then n with 2^n >= the step
// rounded up, at most 4.
int smoothingPasses(double step);

// In place of the swap, with the window's current size: where the window is
// less than half the picture's size, averages the frame just drawn into it
// and shows it, and answers true; otherwise does nothing and answers false,
// for sdl12-compat's swap to scale and show it.
bool presentPreview(int width, int height);
