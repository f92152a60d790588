// What the web platform asks of the page (library.js) and tells the entry.
#pragma once

extern "C" {
// SDL's events become Escape alone; every other key stays the browser's.
void webTakeKeys();
// The GL context: watched from the display's opening on; whether it is lost
// now; waiting until it is given back (or Escape is pressed); whether it was
// given back since the last call.
void webWatchContext();
int webContextLost();
void webAwaitContext();
int webTakeRestore();
int webHasWebGL();
int webCanvasHasWebGL();
int webFramesWanted();
// Why the page could not fetch the file at path, or "" when it knows of no reason.
void webFetchProblem(const char *path, char *into, int size);
void webShowFrame(long frame);
// Waits `ms` milliseconds by the tick counter, giving way to the browser.
void webSleep(unsigned ms);
// The canvas now holds a whole frame: the page may copy it (page.js shows a
// picture smaller than 640x480 averaged).
void webFrameWhole();
// Gives way to the browser (drawing, key presses) and comes back at once.
void webGiveWay();
// While the page's Pause holds, waits with the frame just shown (Escape ends the wait).
void webHoldWhilePaused();
}

// Frames shown so far.
long framesPresented();
