// What the web platform asks of the page (library.js) and tells the entry.
#pragma once

extern "C" {
void webQueueOnlyKeys();
int webHasWebGL();
int webFramesWanted();
void webShowFrame(long frame);
// True when SDL_Delay gave way to the browser since the last call.
int webTakeWait();
}

// Frames shown so far.
long framesPresented();
